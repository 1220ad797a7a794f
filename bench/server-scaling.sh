#!/usr/bin/env bash
# Load run of pruvex-server in one go: one process on SQLite, then one and
# two processes on one PostgreSQL database (a throw-away server on loopback,
# started and removed by tests/mail/postgres.sh), each with
# pruvex-server-bench.
#   bench/server-scaling.sh [BUILD_DIR] [pruvex-server-bench options]
# e.g. bench/server-scaling.sh build-release --count 20000 --clients 8
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
bench="$build/bin/pruvex-server-bench"
[[ -x "$bench" ]] || { echo "server-scaling.sh: $bench is missing; build the target pruvex-server-bench" >&2; exit 1; }

work=$(mktemp -d)
trap 'tests/mail/postgres.sh stop "$work/pg" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
limits=$'[limits]\nposts_per_minute=0\n[server]\nthreads=8\n'
printf '%s' "$limits" > "$work/sqlite.ini"
tests/mail/postgres.sh start "$work/pg" >/dev/null
[[ -f "$work/pg/port" ]] || { echo "server-scaling.sh: PostgreSQL is not installed" >&2; exit 1; }
printf '%s[database]\ndriver=postgresql\nhost=127.0.0.1\nport=%s\nname=pruvex\nuser=pruvex\npassword_file=%s\n' \
    "$limits" "$(cat "$work/pg/port")" "$work/pg/password" > "$work/postgres.ini"

run() {
    local name=$1
    shift
    local out
    out=$("$bench" "$@" 2>/dev/null) || true
    local rate p50 p99 mem
    rate=$(sed -n 's/^Auswertungen\/s: \([0-9]*\).*/\1/p' <<<"$out")
    p50=$(sed -n 's/^Latenz p50: \([0-9.]*\) ms.*/\1/p' <<<"$out")
    p99=$(sed -n 's/.*p99: \([0-9.]*\) ms.*/\1/p' <<<"$out")
    mem=$(grep -o '[0-9.]* MB' <<<"$out" | tail -n 1 || true)
    printf '%-28s %14s %10s %10s %14s\n' "$name" "$rate" "$p50" "$p99" "$mem"
}

printf '%-28s %14s %10s %10s %14s\n' "" "Auswertungen/s" "p50 ms" "p99 ms" "RSS je Prozess"
run "SQLite, 1 Prozess" --config "$work/sqlite.ini" "$@"
run "PostgreSQL, 1 Prozess" --config "$work/postgres.ini" "$@"
run "PostgreSQL, 2 Prozesse" --config "$work/postgres.ini" --processes 2 "$@"
