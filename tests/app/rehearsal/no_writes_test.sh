#!/usr/bin/env bash
# The program writes no file: runs the demo rehearsal under strace and fails when any path outside
# the rehearsal's output folder is opened for writing (tried, even when the open fails) or is
# created, removed, renamed, linked, truncated or has its mode or times changed.
# Usage: no_writes_test.sh PROGRAM DEMO_FOLDER WORK_FOLDER
set -euo pipefail

program=$1 demo=$2 work=$3
if ! command -v strace >/dev/null; then
    echo "strace is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

rm -rf "$work"
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
work=$(cd -P "$work" && pwd)
out=$work/out
log=$work/strace.log
demo=$(cd -P "$demo" && pwd)

# An existing runtime folder, so the toolkit has none to create; the address sanitizer's leak
# check cannot run under a tracer.
calls=open,openat,openat2,creat,mkdir,mkdirat,rename,renameat,renameat2,link,linkat,symlink
calls+=,symlinkat,unlink,unlinkat,rmdir,truncate,chmod,fchmodat,chown,lchown,fchownat,utime
calls+=,utimes,utimensat,mknod,mknodat
cd "$demo"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/runtime ASAN_OPTIONS=detect_leaks=0 \
    strace -f -qq -y -o "$log" -e trace="$calls" "$program" --rehearse rehearsal.txt --out "$out" >"$work/rehearsal.out" 2>&1 || {
    echo "the demo rehearsal failed:" >&2
    tail -n 20 "$work/rehearsal.out" >&2
    exit 1
}
if ! grep -q . "$log" || [[ ! -s $out/000-audience.png ]]; then
    echo "strace recorded nothing, or the rehearsal wrote no pictures" >&2
    exit 1
fi

# Prints "syscall path" for each write outside the output folder. A path is taken from the file
# descriptor strace resolved (-y), else from the quoted name joined to the directory argument or
# the program's start folder.
awk -v out="$out" -v start="$demo" '
function resolve(dir, name) {
    if (substr(name, 1, 1) == "/") return name
    return dir "/" name
}
function outside(path) {
    return path != out && index(path, out "/") != 1
}
{
    if (!match($0, /^[0-9]+ +[a-z0-9_]+\(/)) next
    call = substr($0, RSTART, RLENGTH - 1)
    sub(/^[0-9]+ +/, "", call)
    dir = start
    if (match($0, /\(AT_FDCWD<[^>]*>|\([0-9]+<[^>]*>/)) {
        dir = substr($0, RSTART, RLENGTH)
        sub(/^\([^<]*</, "", dir)
        sub(/>$/, "", dir)
    }
    n = 0
    rest = $0
    while (match(rest, /"([^"\\]|\\.)*"/)) {
        names[++n] = substr(rest, RSTART + 1, RLENGTH - 2)
        rest = substr(rest, RSTART + RLENGTH)
    }
    if (call ~ /^(open|openat|openat2|creat)$/) {
        if (call != "creat" && $0 !~ /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND/) next
        path = n > 0 ? resolve(dir, names[1]) : ""
        if (match($0, /= [0-9]+<[^>]*>$/)) {
            path = substr($0, RSTART, RLENGTH)
            sub(/^= [0-9]+</, "", path)
            sub(/>$/, "", path)
        }
        if (outside(path)) print call, path
        next
    }
    if ($0 !~ /= 0$/) next
    for (i = 1; i <= n; i++) {
        path = resolve(dir, names[i])
        if (outside(path)) print call, path
    }
}' "$log" >"$work/writes"

if [[ -s $work/writes ]]; then
    echo "the rehearsal wrote outside its output folder $out:" >&2
    sort -u "$work/writes" >&2
    exit 1
fi
echo "no write outside $out ($(grep -c . "$log") file calls traced)"
