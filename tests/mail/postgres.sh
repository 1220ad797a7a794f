#!/usr/bin/env bash
# A throw-away PostgreSQL for the tests, on 127.0.0.1 and a free port, run
# as an unprivileged user.
#   postgres.sh start DIR   starts it and writes DIR/port and DIR/password
#                           (database "pruvex", user "pruvex")
#   postgres.sh stop DIR    stops it and removes its data
# The data and the socket live in a temporary folder (DIR/datadir names it),
# which the user "postgres" can reach even when DIR lies in root's home.
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
    local data
    data=$(cat "$dir/datadir" 2>/dev/null || true)
    if [[ -n "$data" && -d "$data" ]]; then
        if [[ -n "$bin" && -f "$data/db/postmaster.pid" ]]; then
            "${as[@]}" "$bin/pg_ctl" -D "$data/db" -m immediate -w stop >/dev/null 2>&1 || true
        fi
        rm -rf "$data"
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
    data=$(mktemp -d "${TMPDIR:-/tmp}/pruvex-postgres.XXXXXX")
    echo "$data" > "$dir/datadir"
    head -c 18 /dev/urandom | base64 | tr -d '/+=' > "$dir/password"
    cp "$dir/password" "$data/password"
    [[ ${#as[@]} -eq 0 ]] || chown -R postgres "$data"
    "${as[@]}" "$bin/initdb" -D "$data/db" -U pruvex --pwfile="$data/password" -A scram-sha-256 \
        -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
    for attempt in 1 2 3 4 5; do
        port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
        if "${as[@]}" "$bin/pg_ctl" -D "$data/db" -l "$data/server.log" -w -t 60 \
            -o "-c listen_addresses=127.0.0.1 -p $port -k $data -c fsync=off -c synchronous_commit=off -c max_connections=200" \
            start >/dev/null; then
            PGPASSWORD=$(cat "$dir/password") "$bin/createdb" -h 127.0.0.1 -p "$port" -U pruvex pruvex
            echo "$port" > "$dir/port"
            echo "postgres.sh: PostgreSQL on 127.0.0.1:$port"
            exit 0
        fi
    done
    cat "$data/server.log" >&2
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
