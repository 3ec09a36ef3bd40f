#!/usr/bin/env bash
# The relay for spectators beyond the hall: nginx with nchan, as a process of its own (not the
# system's service), everything it writes in DIR: the configuration it runs, the secret, the
# logs (DIR/access.log shows what was published), the temporary files and the pid.
#
#   scripts/relay.sh start PORT DIR [--program HOST:PORT] [--listen ADDRESS] [--allow ADDRESS]...
#   scripts/relay.sh stop DIR
#
# start listens on 127.0.0.1:PORT (--listen 0.0.0.0 for the phones of the hall), creates the
# secret DIR/secret (32 hex characters, mode 600) unless it is there, and waits until nginx
# answers. --program HOST:PORT is the hall mode: the remote and its commands go through to the
# program's own server there. Publishers are accepted from the loopback address and from each
# --allow ADDRESS (an address or a network, as nginx's allow takes it).
# The configuration (http.conf, locations.conf, hall.conf, pages/) is found beside this script
# (an installed tree: /usr/share/trqdisplay/relay/), in the source tree's packaging/relay/, or in
# /usr/share/trqdisplay/relay/.
set -euo pipefail

usage() {
    echo "usage: relay.sh start PORT DIR [--program HOST:PORT] [--listen ADDRESS] [--allow ADDRESS]..." >&2
    echo "       relay.sh stop DIR" >&2
    exit 2
}

nchan_module=/usr/lib/nginx/modules/ngx_nchan_module.so
# nginx is in /usr/sbin, which a user's PATH may lack.
PATH=$PATH:/usr/sbin:/sbin

find_share() {
    local here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    for d in "$here" "$here/../packaging/relay" /usr/share/trqdisplay/relay; do
        if [[ -f $d/locations.conf && -f $d/http.conf && -d $d/pages ]]; then
            (cd "$d" && pwd)
            return
        fi
    done
    echo "relay.sh: no relay configuration beside $here nor in /usr/share/trqdisplay/relay" >&2
    exit 1
}

running_pid() {
    local dir=$1 pid
    [[ -f $dir/nginx.pid ]] || return 1
    pid=$(<"$dir/nginx.pid")
    [[ $pid =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null || return 1
    echo "$pid"
}

# Whether USER (empty: this user) can read FILE.
can_read() {
    if [[ -z $1 ]]; then
        [[ -r $2 ]]
    else
        runuser -u "$1" -- test -r "$2" 2>/dev/null
    fi
}

stop() {
    local dir=$1 pid
    if ! pid=$(running_pid "$dir"); then
        echo "relay.sh: no relay runs in $dir" >&2
        return 0
    fi
    # A fast stop: the spectators' feeds are open for hours and would hold a graceful one.
    kill -TERM "$pid"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    echo "relay.sh: nginx ($pid) did not stop within 10 s; killing it" >&2
    kill -KILL "$pid" 2>/dev/null || true
}

start() {
    local port=$1 dir=$2
    shift 2
    local program="" listen=127.0.0.1 allow=()
    while (($#)); do
        case "$1" in
        --program) program=${2:?--program HOST:PORT}; shift 2 ;;
        --listen) listen=${2:?--listen ADDRESS}; shift 2 ;;
        --allow) allow+=("${2:?--allow ADDRESS}"); shift 2 ;;
        *) usage ;;
        esac
    done
    if [[ ! $port =~ ^[0-9]{1,5}$ ]] || ((10#$port < 1 || 10#$port > 65535)); then
        echo "relay.sh: bad port $port" >&2
        exit 2
    fi
    port=$((10#$port))
    command -v nginx >/dev/null || { echo "relay.sh: nginx is not installed (apt install nginx libnginx-mod-nchan)" >&2; exit 1; }
    [[ -f $nchan_module ]] || { echo "relay.sh: $nchan_module is missing (apt install libnginx-mod-nchan)" >&2; exit 1; }

    local share
    share=$(find_share)
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    if running_pid "$dir" >/dev/null; then
        echo "relay.sh: a relay already runs in $dir (relay.sh stop $dir)" >&2
        exit 1
    fi

    # The secret: made once, kept across starts, readable by its owner alone.
    if [[ ! -s $dir/secret ]]; then
        (umask 077 && od -An -N16 -tx1 /dev/urandom | tr -d ' \n' >"$dir/secret")
    fi
    chmod 600 "$dir/secret"
    local secret
    secret=$(tr -d ' \r\n' <"$dir/secret")
    [[ $secret =~ ^[0-9A-Za-z_-]{16,128}$ ]] || { echo "relay.sh: $dir/secret holds no usable secret" >&2; exit 1; }
    (umask 077 && printf '"~^%s$" 1;\n' "$secret" >"$dir/trqrelay-secret.conf")
    {
        echo "allow 127.0.0.1;"
        echo "allow ::1;"
        for a in "${allow[@]}"; do echo "allow $a;"; done
        echo "deny all;"
    } >"$dir/trqrelay-publishers.conf"

    # As root the workers run as the invoking user (sudo) or nobody; they need to reach the
    # pages and the temporary folders in DIR, nothing else.
    local user_line="" worker_user=""
    if [[ $(id -u) -eq 0 ]]; then
        worker_user=${SUDO_USER:-nobody}
        [[ $worker_user == root ]] && worker_user=nobody
        user_line="user $worker_user $(id -gn "$worker_user");"
    fi
    # Started with sudo: the secret is the calling user's, whose program publishes with it.
    if [[ -n ${SUDO_USER:-} && $worker_user == "$SUDO_USER" ]]; then
        chown "$SUDO_USER" "$dir/secret"
    fi
    rm -rf "$dir/pages" "$dir/temp"
    mkdir -p "$dir/temp"
    if [[ -n $worker_user ]]; then
        chown "$worker_user" "$dir/temp"
    fi
    # The pages are served where they are if the workers can read them there (an installed
    # tree), else from a copy in DIR; a DIR behind a closed folder (/root, a private temporary
    # folder) cannot serve them to workers that are not root.
    # The heats and schedule pages are the hall's own: installed, they are among the relay's
    # pages; in the source tree they are served from src/app/web/pages.
    local pages=$share/pages hall_pages=$share/pages
    [[ -f $hall_pages/heats.html ]] || hall_pages=$(cd "$share/../../src/app/web/pages" && pwd)
    if ! can_read "$worker_user" "$pages/index.html" || ! can_read "$worker_user" "$hall_pages/heats.html"; then
        cp -R "$share/pages" "$dir/pages"
        [[ -f $dir/pages/heats.html ]] || cp "$hall_pages/heats.html" "$hall_pages/schedule.html" "$dir/pages/"
        hall_pages=$dir/pages
        pages=$dir/pages
        if [[ -n $worker_user ]]; then
            chmod -R go+rX "$dir/pages"
        fi
        if ! can_read "$worker_user" "$pages/index.html"; then
            echo "relay.sh: the workers ($worker_user) cannot read $pages: choose a DIR that others may enter" >&2
            exit 1
        fi
    fi

    # File descriptors: one a spectator, as many as the hard limit allows (at most 30,000).
    local files connections
    files=$(ulimit -Hn)
    [[ $files == unlimited ]] && files=30000
    ((files > 30000)) && files=30000
    ulimit -n "$files" 2>/dev/null || true
    connections=$((files - 64 < 12000 ? files - 64 : 12000))

    local hall="" upstream=""
    if [[ -n $program ]]; then
        upstream="upstream trq_program { server $program; keepalive 4; }"
        hall="include $share/hall.conf;"
    fi
    cat >"$dir/nginx.conf" <<EOF
# Written by relay.sh at each start; the shared parts are in $share.
load_module $nchan_module;
$user_line
worker_processes auto;
worker_rlimit_nofile $files;
pid $dir/nginx.pid;
error_log $dir/error.log warn;
events {
    worker_connections $connections;
}
http {
    types {
        text/html html;
        text/javascript js;
        text/css css;
        image/png png;
        application/json json;
    }
    default_type application/octet-stream;
    sendfile on;
    tcp_nodelay on;
    client_body_temp_path $dir/temp/body;
    proxy_temp_path $dir/temp/proxy;
    fastcgi_temp_path $dir/temp/fastcgi;
    uwsgi_temp_path $dir/temp/uwsgi;
    scgi_temp_path $dir/temp/scgi;
    include $share/http.conf;
    $upstream
    server {
        listen $listen:$port;
        root $pages;
        set \$trq_hall_pages $hall_pages;
        access_log $dir/access.log trqrelay;
        include $share/locations.conf;
        $hall
    }
}
EOF
    if ! nginx -t -q -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log"; then
        echo "relay.sh: nginx refuses the configuration (see above and $dir/error.log)" >&2
        exit 1
    fi
    nginx -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log"

    local host=$listen
    [[ $host == 0.0.0.0 || $host == "[::]" ]] && host=127.0.0.1
    for _ in $(seq 100); do
        if curl -s -o /dev/null --max-time 1 "http://$host:$port/relay.js"; then
            echo "publish URL: http://127.0.0.1:$port/pub/"
            echo "secret file: $dir/secret"
            echo "pages:       http://$host:$port/"
            return 0
        fi
        sleep 0.1
    done
    echo "relay.sh: nginx does not answer on $host:$port (see $dir/error.log)" >&2
    stop "$dir"
    exit 1
}

case "${1:-}" in
start)
    (($# >= 3)) || usage
    shift
    start "$@"
    ;;
stop)
    (($# == 2)) || usage
    [[ -d $2 ]] || { echo "relay.sh: no folder $2" >&2; exit 1; }
    stop "$(cd "$2" && pwd)"
    ;;
*) usage ;;
esac
