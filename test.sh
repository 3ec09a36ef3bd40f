#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan, and runs every test offscreen
# (the random-operator soak of 2,000 actions and the no-writes check under strace among them);
# then replays the fuzz targets' saved failing inputs and fuzzes each target for 20 s.
# Last, builds the Debian package from the Release build and checks it.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

build=build/asan
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRQ_SANITIZE=ON -DTRQ_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
(cd "$build" && ctest --output-on-failure -j "$(nproc)")

scripts/fuzz.sh 20
scripts/package.sh --check
