#!/usr/bin/env bash
# Builds the Debian package trqdisplay_VERSION_ARCH.deb in build/release/deb/ (the Release build
# that run.sh uses; only the program and the package's files are built).
# With --check it then lists the package, unpacks it into a temporary folder, runs the unpacked
# program (--version, the demo rehearsal on the packaged demo folder), validates the desktop
# entry and the AppStream metainfo, and runs lintian, which must report no error.
# Usage: scripts/package.sh [--check]   (TRQ_PACKAGE_BUILD names another build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

check=0
case "${1:-}" in
"") ;;
--check) check=1 ;;
*)
    echo "usage: scripts/package.sh [--check]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh --package

build=${TRQ_PACKAGE_BUILD:-build/release}
# The changelog's date: the last commit's, so the same tree gives the same package.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH
# Debian's hardening flags, all of them; no debug information, as the package's program is
# stripped.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS | sed -E 's/(^| )-g( |$)/ /') $(dpkg-buildflags --get CPPFLAGS)"
# cpack installs without building everything first (the tests are not part of the package).
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRQ_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target trqdisplay package_files

out=$root/$build/deb
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
debs=("$out"/trqdisplay_*_"$(dpkg --print-architecture)".deb)
deb=${debs[0]}
[[ -f $deb ]] || { echo "package.sh: cpack made no package in $out" >&2; exit 1; }
echo "Package: ${deb#"$root"/}"
((check)) || exit 0

dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

depends=$(dpkg-deb --field "$deb" Depends)
for needed in libqt6widgets6 fonts-ipafont fonts-noto-cjk; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
usr=$unpacked/usr
for f in bin/trqdisplay share/trqdisplay/demo/TRQsys.ini share/trqdisplay/demo/rehearsal.txt \
    share/man/man1/trqdisplay.1.gz share/icons/hicolor/scalable/apps/trqdisplay.svg \
    share/icons/hicolor/256x256/apps/trqdisplay.png share/doc/trqdisplay/copyright \
    share/trqdisplay/relay/relay.sh share/trqdisplay/relay/locations.conf \
    share/trqdisplay/relay/pages/heats.html; do
    [[ -f $usr/$f ]] || fail "the package lacks /usr/$f"
done
desktop=("$usr"/share/applications/*.desktop)
metainfo=("$usr"/share/metainfo/*.metainfo.xml)
[[ -f ${desktop[0]} && -f ${metainfo[0]} ]] || fail "the package lacks its desktop entry or metainfo"
demo=$(sed -n 's/^Exec=trqdisplay --data //p' "${desktop[0]}")
[[ -n $demo && -f $unpacked$demo/Conf.txt ]] ||
    fail "the desktop entry's demo action names no packaged data folder: \"$demo\""

version=$(dpkg-deb --field "$deb" Version)
shown=$("$usr/bin/trqdisplay" --version)
[[ $shown == "trqdisplay $version" ]] || fail "--version says \"$shown\", the package is $version"

# The demo rehearsal, run as a technician would on the installed demo folder.
rehearsal=$unpacked/rehearsal
mkdir -m 700 "$unpacked/runtime"
(cd "$usr/share/trqdisplay/demo" &&
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$unpacked/runtime "$usr/bin/trqdisplay" --rehearse rehearsal.txt --out "$rehearsal" \
        >/dev/null)
[[ -f $rehearsal/000-audience.png ]] || fail "the rehearsal wrote no pictures"
pictures=("$rehearsal"/*-audience.png)
echo "Rehearsal of the packaged demo: ${#pictures[@]} steps"

desktop-file-validate "${desktop[0]}"
appstreamcli validate --no-net "${metainfo[0]}"
lintian_rc=0
lintian --fail-on error "$deb" >"$unpacked/lintian.log" 2>&1 || lintian_rc=$?
# Its note on running as root (how the package is built here) is no finding.
grep -v 'running with root privileges' "$unpacked/lintian.log" || true
((lintian_rc == 0)) || fail "lintian reports errors (above)"
echo "Package check passed: ${deb#"$root"/}"
