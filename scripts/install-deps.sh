#!/usr/bin/env bash
# Installs the Debian packages that are missing: without an option what building and testing
# need; --run what building and showing real windows need (and the relay for spectators,
# scripts/relay.sh, for a rehearsal with it); --package what building and judging the Debian
# package need (no test toolchain).
# Usage: scripts/install-deps.sh [--run | --package]
set -euo pipefail

# What building the program and its package files needs, and the fonts the pictures are drawn in.
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-httpserver-dev qt6-websockets-dev libqrencode-dev
    librsvg2-bin
    fontconfig fonts-ipafont fonts-ipaexfont fonts-noto-cjk fonts-motoya-l-maruberi
    fonts-aoyagi-kouzan-t fonts-kouzan-mouhitsu fonts-reggae fonts-liberation2
)
case "${1:-}" in
--run)
    # Real windows on a machine without a desktop, and the screenshots of the README's script.
    packages+=(xvfb xauth x11-utils imagemagick)
    packages+=(nginx libnginx-mod-nchan)
    ;;
--package)
    # Building and judging the Debian package: the build packages alone, no test toolchain.
    packages+=(dpkg-dev file lintian desktop-file-utils appstream)
    ;;
"")
    # The tests: the benchmarks' library, the fuzz targets (clang with libFuzzer and the
    # sanitizers' runtimes, the symbolizer for their stacks), the no-writes test (strace) and
    # the web pages' test in a real browser; the key-to-picture benchmark's X server with two
    # monitors (Xorg's dummy driver, xrandr) and its keys and pictures (XTest, DAMAGE); the
    # relay's test and benchmark (nginx with nchan, run by scripts/relay.sh, never as the
    # system's service: in a container its installation says "policy-rc.d denied", which is
    # fine).
    packages+=(libbenchmark-dev clang-14 libclang-rt-14-dev llvm-14 strace chromium)
    packages+=(xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils libxtst-dev
               libxdamage-dev)
    packages+=(nginx libnginx-mod-nchan)
    ;;
*)
    echo "usage: scripts/install-deps.sh [--run | --package]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fc-cache -f >/dev/null 2>&1 || true
