#!/usr/bin/env bash
# Key to picture on an X server with two monitors side by side: the 1024 x 768 console at 0, 0
# and a 1920 x 1080 venue monitor right of it ("venue", which the program is told with --screen),
# on Xorg's dummy driver (one 2944 x 1080 framebuffer split into two RandR monitors). Runs
# venue_bench (bench/venue_bench.cpp) with the program and the floor program of a build and
# prints, per kind of action, the median and 90th percentile from the key to the last picture,
# the CPU of the program and of the X server per action, and the ratio to the floor; the last two
# columns are the time to the hall's picture (the last rectangle on the venue monitor) and its ratio.
# Usage: scripts/bench-venue.sh [BUILD_DIR] [venue_bench options...]
#        (BUILD_DIR defaults to build/bench; build it with -DCMAKE_BUILD_TYPE=Release.)
#        VENUE_SIZE=1024x768 in the environment makes the venue monitor that size (default
#        1920x1080).
# Needs: xserver-xorg-video-dummy, x11-xserver-utils (xrandr); root or a wrapper that lets Xorg
# start.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
shift || true
for f in "$build/trqdisplay" "$build/venue_bench" "$build/venue_floor" "$build/start_floor"; do
    [[ -x $f ]] || { echo "bench-venue: $f missing (cmake --build $build)" >&2; exit 2; }
done

venue=${VENUE_SIZE:-1920x1080}
venue_w=${venue%x*}
venue_h=${venue#*x}
fb_w=$((1024 + venue_w))
fb_h=$((venue_h > 768 ? venue_h : 768))
work=$(mktemp -d)
display=:$((60 + RANDOM % 100))
cat >"$work/xorg.conf" <<CONF
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 64000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "${fb_w}x${fb_h}" 250.00 $fb_w $((fb_w + 8)) $((fb_w + 16)) $((fb_w + 24)) $fb_h $((fb_h + 1)) $((fb_h + 2)) $((fb_h + 3))
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual $fb_w $fb_h
        Modes "${fb_w}x${fb_h}"
    EndSubSection
EndSection
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
CONF
Xorg "$display" -config "$work/xorg.conf" -noreset -nolisten tcp -logfile "$work/xorg.log" \
    >"$work/xorg.out" 2>&1 &
xorg=$!
trap 'kill "$xorg" 2>/dev/null; wait "$xorg" 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xrandr >/dev/null 2>&1 && break; sleep 0.1; done
output=$(xrandr | awk '/ connected/ {print $1; exit}')
xrandr --setmonitor console 1024/271x768/203+0+0 "$output"
xrandr --setmonitor venue "$venue_w/508x$venue_h/286+1024+0" none
unset QT_QPA_PLATFORM
export QT_QPA_PLATFORM=xcb
"$build/venue_bench" --program "$(realpath "$build/trqdisplay")" \
    --floor "$(realpath "$build/venue_floor")" --start-floor "$(realpath "$build/start_floor")" \
    --xserver-pid "$xorg" "$@"
