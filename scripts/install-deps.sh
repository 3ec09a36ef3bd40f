#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
# Usage: scripts/install-deps.sh [--run | --package]   (--run adds what showing real windows
# needs, --package what building and judging the Debian package needs)
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-httpserver-dev qt6-websockets-dev libqrencode-dev
    libbenchmark-dev
    fontconfig fonts-ipafont fonts-ipaexfont fonts-noto-cjk fonts-motoya-l-maruberi
    fonts-aoyagi-kouzan-t fonts-kouzan-mouhitsu fonts-reggae fonts-liberation2
    librsvg2-bin
    # The fuzz targets (clang with libFuzzer and the sanitizers' runtimes, the symbolizer for
    # their stacks) and the no-writes test (strace).
    clang-14 libclang-rt-14-dev llvm-14 strace
    # The web pages' test in a real browser.
    chromium
)
if [[ "${1:-}" == "--run" ]]; then
    packages+=(xvfb xauth x11-utils imagemagick)
fi
if [[ "${1:-}" == "--package" ]]; then
    packages+=(dpkg-dev file lintian desktop-file-utils appstream)
fi

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
