#!/usr/bin/env bash
# A throw-away PostgreSQL for the tests, on 127.0.0.1 and a free port, its
# data and socket in the folder given, run as an unprivileged user.
#   postgres.sh start DIR   (re)creates DIR, starts the server, writes DIR/port;
#                           database "pruvex", user "pruvex", password in DIR/password
#   postgres.sh stop DIR    stops it
# Without PostgreSQL's programs, start writes DIR/absent and the tests skip.
set -euo pipefail
action=$1
dir=$2
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)

as=()
if [[ $(id -u) -eq 0 ]]; then
    # PostgreSQL refuses to run as root; the Debian package brings this user.
    id postgres >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin postgres
    as=(runuser -u postgres --)
fi

stop() {
    if [[ -n "$bin" && -f "$dir/data/postmaster.pid" ]]; then
        "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
}

case "$action" in
start)
    stop
    rm -rf "$dir"
    mkdir -p "$dir"
    if [[ -z "$bin" || ! -x "$bin/initdb" ]]; then
        echo "PostgreSQL is not installed" > "$dir/absent"
        echo "postgres.sh: PostgreSQL is not installed, its tests will be skipped"
        exit 0
    fi
    head -c 18 /dev/urandom | base64 | tr -d '/+=' > "$dir/password"
    [[ ${#as[@]} -eq 0 ]] || chown -R postgres "$dir"
    "${as[@]}" "$bin/initdb" -D "$dir/data" -U pruvex --pwfile="$dir/password" -A scram-sha-256 \
        -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
    for attempt in 1 2 3 4 5; do
        port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
        if "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
            -o "-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=off -c synchronous_commit=off -c max_connections=200" \
            start >/dev/null; then
            PGPASSWORD=$(cat "$dir/password") "$bin/createdb" -h 127.0.0.1 -p "$port" -U pruvex pruvex
            echo "$port" > "$dir/port"
            echo "postgres.sh: PostgreSQL on 127.0.0.1:$port"
            exit 0
        fi
    done
    cat "$dir/server.log" >&2
    exit 1
    ;;
stop)
    stop
    ;;
*)
    echo "usage: postgres.sh start|stop DIR" >&2
    exit 2
    ;;
esac
