#!/usr/bin/env bash
# Makes the README's pictures of every view (docs/views/*.png, half size) from the demo
# rehearsals: runs both, then takes the audience picture of the step that shows each view.
# Usage: scripts/readme-pictures.sh [TRQDISPLAY]   (default: build/release/trqdisplay; ImageMagick)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
program=$(realpath "${1:-$root/build/release/trqdisplay}")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cd "$root/data/demo"
QT_QPA_PLATFORM=offscreen "$program" --rehearse rehearsal.txt --out "$out/main" >/dev/null
QT_QPA_PLATFORM=offscreen "$program" --rehearse rehearsal-alt.txt --marker rehearsal-alt.txt \
    --out "$out/alt" >/dev/null

# view name -> rehearsal and step
declare -A steps=(
    [clean]=main/000 [welcome]=main/001 [judges]=main/080 [heat-one-floor]=main/030
    [heat-two-floors]=main/022 [finalists]=main/082 [final-result]=main/091 [award]=main/104
    [progress-message]=main/003 [announcement]=main/123 [clock]=main/136
    [final-result-alternate]=alt/003 [award-alternate]=alt/013
)
for view in "${!steps[@]}"; do
    convert "$out/${steps[$view]}-audience.png" -resize 50% -strip "$root/docs/views/$view.png"
done
echo "docs/views: ${#steps[@]} pictures"
