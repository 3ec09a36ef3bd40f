#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts the display on the demo competition.
# Without a display it runs the demo rehearsal offscreen instead and says where the pictures are.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

scripts/install-deps.sh --run

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRQ_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target trqdisplay

# The program reads TRQsys.ini (and _GRF.bmp) from the folder it is started in.
cd "$root/data/demo"
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$root/$build/trqdisplay"
fi

out="$root/out/demo-rehearsal"
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the demo rehearsal offscreen."
rm -rf "$out"
QT_QPA_PLATFORM=offscreen "$root/$build/trqdisplay" --rehearse rehearsal.txt --out "$out"
echo "Pictures of every step are in $out (NNN-audience.png, NNN-console.png)."
echo "To see the windows, run ./run.sh on a desktop or under xvfb-run."
