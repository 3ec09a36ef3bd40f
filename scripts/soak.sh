#!/usr/bin/env bash
# The random-operator soak: N random operator actions (default 100000) in runs of up to 1000, each
# run on its own copy of the demo folder: every fourth copy intact, the others damaged. Runs under
# ASan and UBSan with leak detection. A run that fails keeps its folder and its script, which
# replays with "trqdisplay --rehearse"; a failure that matches a "soak" line of
# fuzz/known-faults.txt is reported as known and does not fail the soak.
# Usage: scripts/soak.sh [N] [BUILD]
#   BUILD: a build folder holding trq_soak (default: build/asan, built here with ASan + UBSan).
#   TRQ_SOAK_SEED: the first run's seed (default: random); TRQ_SOAK_JOBS: runs at a time (nproc).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

actions=${1:-100000}
build=${2:-}
if [[ -z $build ]]; then
    build=build/asan
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRQ_SANITIZE=ON -DTRQ_BENCH=OFF \
        >/dev/null
    cmake --build "$build" -j "$(nproc)" --target trq_soak trqdisplay
fi
build=$(cd "$build" && pwd)
jobs=${TRQ_SOAK_JOBS:-$(nproc)}
first_seed=${TRQ_SOAK_SEED:-$((RANDOM * 32768 + RANDOM))}

runs=$(((actions + 999) / 1000))
((runs < 4)) && runs=4
out=$build/soak
rm -rf "$out"
mkdir -p "$out/runtime"
chmod 700 "$out/runtime"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$out/runtime
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[[ -x $symbolizer ]] && export ASAN_SYMBOLIZER_PATH=$symbolizer

# Prints the description of the known fault that a failure log shows, if any.
known_fault() {
    local t pattern what
    while IFS=$'\t' read -r t pattern what; do
        [[ $t == soak ]] || continue
        if grep -Eq -- "$pattern" "$1"; then
            echo "$what"
            return 0
        fi
    done <"$root/fuzz/known-faults.txt"
    return 1
}

# One run: its share of the actions, on an intact or a damaged copy. Leaves RUN.result.
run() {
    local i=$1 seed=$((first_seed + $1)) dir=$out/run-$1 damages=0 status=ok what
    local count=$(((actions * (i + 1)) / runs - (actions * i) / runs))
    ((i % 4 == 0)) || damages=$((1 + seed % 4))
    if "$build/trq_soak" --demo "$root/data/demo" --out "$dir" --actions "$count" \
        --seed "$seed" --damage "$damages" >"$dir.log" 2>&1; then
        rm -rf "$dir"
    elif what=$(known_fault "$dir.log"); then
        status="known: $what"
    else
        status=FAILED
    fi
    echo "$status" >"$dir.result"
}

echo "Soak: $actions actions in $runs runs from seed $first_seed, $jobs at a time"
started=$SECONDS
running=0
for ((i = 0; i < runs; i++)); do
    run "$i" &
    running=$((running + 1))
    if ((running >= jobs)); then
        wait -n || true
        running=$((running - 1))
    fi
done
wait

failed=0
for ((i = 0; i < runs; i++)); do
    status=$(cat "$out/run-$i.result")
    [[ $status == ok ]] && continue
    echo "---- run $i: $status"
    head -n 12 "$out/run-$i/soak.txt" | grep '^#' || true
    echo "     script: $out/run-$i/soak.txt (action $(grep -vc '^#' "$out/run-$i/soak.txt") failed)"
    if [[ $status == FAILED ]]; then
        failed=1
        tail -n 40 "$out/run-$i.log"
    fi
done
echo "Soak: $actions actions in $((SECONDS - started)) s"
exit $failed
