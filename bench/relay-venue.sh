#!/usr/bin/env bash
# The venue's cost does not grow with the audience: the program runs live (offscreen) on a copy of
# the demo day, its heat view up, publishing to a loopback relay; a heat step is pressed once a
# round through the program's own remote (heat-next, heat-prev in turn). Run once with SUBSCRIBERS
# WebSockets on the relay and once with none, it reports the program's CPU per heat step in each
# and their ratio, and with subscribers the time from the step to the picture and the state at
# the last subscriber (median and maximum). Bounded: each run stops itself within two minutes.
#
#   bench/relay-venue.sh [--subscribers N] [--rounds N] [--program PATH]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
PATH=$PATH:/usr/sbin

subscribers=5000
rounds=30
program=$root/build/release/trqdisplay
while (($#)); do
    case "$1" in
    --subscribers) subscribers=${2:?}; shift 2 ;;
    --rounds) rounds=${2:?}; shift 2 ;;
    --program) program=${2:?}; shift 2 ;;
    *)
        echo "usage: bench/relay-venue.sh [--subscribers N] [--rounds N] [--program PATH]" >&2
        exit 2
        ;;
    esac
done
[[ -x $program ]] || { echo "relay-venue: no program at $program (--program PATH)" >&2; exit 1; }
ulimit -n "$(ulimit -Hn)"

dir=$(mktemp -d)
chmod 755 "$dir"
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    "$root/scripts/relay.sh" stop "$dir/relay" >/dev/null 2>&1 || true
    rm -rf "$dir"
}
trap cleanup EXIT

port=$(free_port)
"$root/scripts/relay.sh" start "$port" "$dir/relay" >/dev/null
cp -r "$root/data/demo" "$dir/data"

run() {
    local count=$1 web
    web=$(free_port)
    QT_QPA_PLATFORM=offscreen "$program" --data "$dir/data" --web "127.0.0.1:$web" \
        --publish "http://127.0.0.1:$port/pub/" --publish-token-file "$dir/relay/secret" \
        >"$dir/program.out" 2>&1 &
    pid=$!
    local token=
    for _ in $(seq 100); do
        token=$(sed -n 's/.*remote?token=\([0-9a-f]*\).*/\1/p' "$dir/program.out")
        [[ -n $token ]] && break
        sleep 0.1
    done
    [[ -n $token ]] || { cat "$dir/program.out" >&2; exit 1; }
    local api="http://127.0.0.1:$web/api/command"
    # Item 2 (two floors), its heat view.
    for command in item-next item-next heat; do
        curl -s -o /dev/null -X POST "$api/$command?token=$token"
        sleep 0.3
    done
    timeout 115 python3 "$root/bench/relay_bench.py" --port "$port" --dir "$dir/relay" \
        --subscribers "$count" --rounds "$rounds" --program-pid "$pid" \
        --pictures "$root/docs/views/judges.png" \
        --publish-command "curl -s -o /dev/null -X POST \"$api/heat-\$([ \$((RELAY_ROUND % 2)) = 1 ] && echo next || echo prev)?token=$token\""
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}

echo "== without subscribers"
run 0 | tee "$dir/without.txt" | grep -E "program CPU"
echo "== with $subscribers subscribers"
run "$subscribers" | tee "$dir/with.txt"
python3 - "$dir/without.txt" "$dir/with.txt" <<'PY'
import re, sys
cpu = [float(re.search(r"program CPU: ([0-9.]+) ms", open(f).read()).group(1)) for f in sys.argv[1:]]
print(f"program CPU per heat step: {cpu[0]:.2f} ms without, {cpu[1]:.2f} ms with subscribers; "
      f"ratio {cpu[1] / cpu[0]:.2f}")
PY
