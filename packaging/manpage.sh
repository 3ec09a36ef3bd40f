#!/bin/sh
# Writes the manual page from what the built program prints for --help and --version, so the
# page and the program's own usage text cannot differ.
# Usage: manpage.sh PROGRAM SUMMARY OUTPUT.gz
set -eu
here=$(dirname "$0")
program=$1 summary=$2 output=$3
# The program may be a sanitizer build: its leak report at exit is not part of the text.
export ASAN_OPTIONS=detect_leaks=0
help=$(mktemp)
trap 'rm -f "$help"' EXIT
"$program" --help >"$help"
version=$("$program" --version)
awk -v version="$version" -v summary="$summary" -f "$here/manpage.awk" "$help" \
    "$here/trqdisplay.1.in" | gzip -9n >"$output"
