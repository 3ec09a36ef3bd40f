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

# The console with numbered marks for the README's walk through a competition day (the heat
# view of step 030 on the hall). Each mark: number, x, y on the 948 x 726 console.
marks=(
    "1 14 12" "2 214 36" "3 233 72" "4 24 150" "5 82 300" "6 12 394" "7 905 120"
    "8 642 413" "9 894 398" "10 935 440" "11 436 590" "12 582 590" "13 430 660" "14 628 700" "15 262 392"
)
draw=()
font=$(fc-match -f "%{file}" "Liberation Sans:bold")
for m in "${marks[@]}"; do
    read -r n x y <<<"$m"
    draw+=(-fill '#ff2d2d' -stroke white -strokewidth 2 -draw "circle $x,$y $((x + 11)),$y")
    draw+=(-font "$font" -fill white -stroke none -pointsize 14 -annotate "+$((x - (n > 9 ? 8 : 4)))+$((y + 5))" "$n")
done
convert "$out/main/030-console.png" "${draw[@]}" -strip "$root/docs/console.png"
echo "docs/console.png"
