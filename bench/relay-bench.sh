#!/usr/bin/env bash
# The relay under load: starts it (scripts/relay.sh) on a free loopback port in a temporary
# folder, opens SUBSCRIBERS WebSockets (half to /sub/picture, half to /sub/now), publishes
# ROUNDS real audience pictures (100-170 KB) each with a state, and reports per channel the time
# from the publication to the last subscriber (median, maximum) and nginx's resident memory.
# Bounded: the run stops itself before two minutes.
#
#   bench/relay-bench.sh [--subscribers N] [--rounds N] [--publish-command CMD]
#
# --publish-command CMD publishes instead of the benchmark (e.g. a rehearsal of the program that
# makes the next picture); it runs once a round with RELAY_PUBLISH_URL, RELAY_SECRET,
# RELAY_PICTURE (a PNG file) and RELAY_ROUND in its environment.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
PATH=$PATH:/usr/sbin

subscribers=5000
rounds=10
command=()
while (($#)); do
    case "$1" in
    --subscribers) subscribers=${2:?}; shift 2 ;;
    --rounds) rounds=${2:?}; shift 2 ;;
    --publish-command) command=(--publish-command "${2:?}"); shift 2 ;;
    *)
        echo "usage: bench/relay-bench.sh [--subscribers N] [--rounds N] [--publish-command CMD]" >&2
        exit 2
        ;;
    esac
done

# A socket a subscriber on each side (the benchmark's and nginx's), and some to spare.
ulimit -n "$(ulimit -Hn)"
if (($(ulimit -n) < subscribers + 200)); then
    echo "relay-bench: $subscribers subscribers need $((subscribers + 200)) open files, the limit is $(ulimit -n)" >&2
    exit 1
fi

dir=$(mktemp -d)
chmod 755 "$dir"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cleanup() {
    "$root/scripts/relay.sh" stop "$dir/relay" >/dev/null 2>&1 || true
    rm -rf "$dir"
}
trap cleanup EXIT
"$root/scripts/relay.sh" start "$port" "$dir/relay" >/dev/null
echo "relay: nginx $(nginx -v 2>&1 | sed 's/.*nginx\///'), $(grep -c '^processor' /proc/cpuinfo) CPUs," \
    "worker_connections $(sed -n 's/ *worker_connections \([0-9]*\);/\1/p' "$dir/relay/nginx.conf")"

timeout 115 python3 "$root/bench/relay_bench.py" --port "$port" --dir "$dir/relay" \
    --subscribers "$subscribers" --rounds "$rounds" "${command[@]}" \
    --pictures "$root/docs/views/judges.png" "$root/docs/views/finalists.png" \
    "$root/docs/views/award-alternate.png"
