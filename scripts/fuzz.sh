#!/usr/bin/env bash
# Builds the fuzz targets (clang, ASan + UBSan) and runs every one for SECONDS (default 60): first
# the saved inputs of fuzz/regressions/TARGET/ are replayed, then the target fuzzes from the demo
# folder's files and, for runs of a minute or more, the corpus it grew in earlier runs (a short
# run starts from the seeds alone, so its time stays bounded). A failure whose log matches a line of
# fuzz/known-faults.txt is reported as known and the target fuzzes on; any other fails the run.
# New failing inputs are kept in build/fuzz/findings/TARGET/.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (TRQ_FUZZ_JOBS targets at a time, default nproc)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-60}
(($# > 0)) && shift
targets=(cp932 text_reader profile settings conf mem seqdat pgm heat final)
(($# > 0)) && targets=("$@")
jobs=${TRQ_FUZZ_JOBS:-$(nproc)}
# A target that keeps hitting known faults is restarted at most this often.
max_restarts=8

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DTRQ_FUZZ=ON -DTRQ_SANITIZE=OFF -DTRQ_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzzers

work=$root/$build/run
mkdir -p "$work/tmp" "$work/runtime"
chmod 700 "$work/runtime"
# The targets' scratch folders and the toolkit's runtime folder stay inside the build folder.
export TMPDIR=$work/tmp XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[[ -x $symbolizer ]] && export ASAN_SYMBOLIZER_PATH=$symbolizer
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
demo=$root/data/demo

# The demo files a target starts from; heat and final inputs begin with the byte that chooses
# the file (see heat_fuzz.cpp and final_fuzz.cpp).
seed() {
    local target=$1 dir=$2
    case $target in
    cp932 | text_reader) cp "$demo/Conf.txt" "$demo/Mem.csv" "$demo/pgm.txt" "$demo/H_01_1.dat" "$dir/" ;;
    profile | settings) cp "$demo/TRQsys.ini" "$dir/" ;;
    conf) cp "$demo/Conf.txt" "$dir/" ;;
    mem) cp "$demo/Mem.csv" "$dir/" ;;
    seqdat) cp "$demo/seqdat.csv" "$dir/" ;;
    pgm) cp "$demo/pgm.txt" "$dir/" ;;
    heat)
        local i=0 f
        for f in H_01_1.dat SH_01_2.dat Assist/H_03_1.dat H_05_1.dat H_01_7.dat H_12_1.dat; do
            { printf %b "\\x$(printf %02x "$i")"; cat "$demo/$f"; } >"$dir/seed-$i"
            i=$((i + 1))
        done
        ;;
    final)
        # Category 1 plain; category 6 (ten couples) in the alternate layout, rising; 5 falling.
        { printf '\x00'; cat "$demo/F_01.dat"; } >"$dir/seed-01"
        { printf '\x11'; cat "$demo/F_06.dat"; } >"$dir/seed-06"
        { printf '\x34'; cat "$demo/F_05.dat"; } >"$dir/seed-05"
        ;;
    esac
}

# Prints the description of the known fault that a failure log shows, if any.
known_fault() {
    local target=$1 log=$2 t pattern what
    while IFS=$'\t' read -r t pattern what; do
        [[ -z $t || $t == \#* || $t != "$target" ]] && continue
        if grep -Eq -- "$pattern" "$log"; then
            echo "$what"
            return 0
        fi
    done <"$root/fuzz/known-faults.txt"
    return 1
}

# Replays the saved inputs, then fuzzes for the time given. Writes one summary line to
# $work/TARGET.result: status, executions, seconds.
run_target() {
    local target=$1 bin=$root/$build/fuzz/${1}_fuzz
    local corpus=$work/corpus/$target findings=$root/$build/findings/$target
    local log=$work/$target.log status=ok execs=0 started=$SECONDS known=""
    if ((seconds < 60)); then
        corpus=$work/corpus-short/$target
        rm -rf "$corpus"
    fi
    mkdir -p "$corpus" "$findings"
    seed "$target" "$corpus"
    : >"$log"

    # All saved inputs in one process; one by one only when that fails, to tell them apart.
    local input inputs=("$root"/fuzz/regressions/"$target"/*)
    [[ -f ${inputs[0]} ]] || inputs=()
    if ((${#inputs[@]} > 0)) && "$bin" -runs=1 "${inputs[@]}" >"$log.replay" 2>&1; then
        inputs=()
    fi
    for input in "${inputs[@]}"; do
        if ! "$bin" -runs=1 "$input" >"$log.replay" 2>&1; then
            if what=$(known_fault "$target" "$log.replay"); then
                known+="${input#"$root"/}: known: $what"$'\n'
            else
                status=FAILED
                echo "$target: ${input#"$root"/} fails again" >>"$log"
                cat "$log.replay" >>"$log"
            fi
        fi
    done

    local restarts=0 left
    while [[ $status == ok ]]; do
        left=$((seconds - (SECONDS - started)))
        ((left > 0)) || break
        if "$bin" -max_total_time="$left" -timeout=25 -max_len=16384 -detect_leaks=0 \
            -print_final_stats=1 -dict="$root/fuzz/trq.dict" -artifact_prefix="$findings/" \
            "$corpus" >"$log.run" 2>&1; then
            rc=0
        else
            rc=$?
        fi
        local n
        n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log.run" | tail -1)
        execs=$((execs + ${n:-0}))
        ((rc == 0)) && break
        local artifact
        artifact=$(sed -n "s/.*Test unit written to //p" "$log.run" | tail -1)
        if what=$(known_fault "$target" "$log.run"); then
            known+="${artifact#"$root"/}: known: $what"$'\n'
            restarts=$((restarts + 1))
            ((restarts <= max_restarts)) || break
        else
            status=FAILED
            cat "$log.run" >>"$log"
        fi
    done
    [[ -n $known ]] && printf '%s' "$known" >>"$log"
    echo "$status $execs $((SECONDS - started))" >"$work/$target.result"
}

echo "Fuzzing ${targets[*]} for ${seconds} s each, $jobs at a time"
running=0
for target in "${targets[@]}"; do
    [[ -x $build/fuzz/${target}_fuzz ]] || { echo "no fuzz target \"$target\"" >&2; exit 2; }
    run_target "$target" &
    running=$((running + 1))
    if ((running >= jobs)); then
        wait -n || true
        running=$((running - 1))
    fi
done
wait

failed=0
printf '%-12s %-7s %12s %8s\n' target result executions seconds
for target in "${targets[@]}"; do
    read -r status execs took <"$work/$target.result"
    printf '%-12s %-7s %12s %8s\n' "$target" "$status" "$execs" "$took"
    if [[ $status != ok ]]; then
        failed=1
        echo "---- $target" >&2
        tail -n 60 "$work/$target.log" >&2
    elif grep -q known "$work/$target.log"; then
        sed 's/^/    /' "$work/$target.log"
    fi
done
exit $failed
