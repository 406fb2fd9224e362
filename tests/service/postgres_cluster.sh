#!/usr/bin/env bash
# postgres_cluster.sh start|stop STATEFILE
# A throw-away PostgreSQL cluster in a temporary folder, reached only through
# a Unix socket in that folder. `start` writes its libpq connection string to
# STATEFILE; `stop` stops it and removes the folder. As root, the cluster runs
# as nobody (PostgreSQL refuses to run as root). Fails, never skips, when
# PostgreSQL cannot start.
set -euo pipefail
action=${1:?start or stop}
state=${2:?state file}

bindir=$(pg_config --bindir 2>/dev/null || true)
[[ -x $bindir/initdb ]] || bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[[ -x $bindir/initdb ]] || { echo "PostgreSQL server programs not found (package postgresql)" >&2; exit 1; }

as_owner() {
  if ((EUID == 0)); then runuser -u nobody -- "$@"; else "$@"; fi
}

case $action in
  start)
    dir=$(mktemp -d "${TMPDIR:-/tmp}/casavo-pg-XXXXXX")
    ((EUID == 0)) && chown nobody "$dir"
    chmod 755 "$dir"
    as_owner "$bindir/initdb" -D "$dir/data" -U casavo --auth=trust --encoding=UTF8 \
      --locale=C.UTF-8 -N >"$dir/initdb.log" || { cat "$dir/initdb.log" >&2; exit 1; }
    # fsync stays on unless asked: the load figures must be those of a real store.
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c max_connections=400 \
          -c fsync=${CASAVO_PG_FSYNC:-off}" start >/dev/null ||
      { cat "$dir/server.log" >&2; exit 1; }
    echo "host=$dir user=casavo dbname=postgres" >"$state"
    ;;
  stop)
    [[ -f $state ]] || exit 0
    dir=$(sed -n 's/^host=\([^ ]*\) .*/\1/p' "$state")
    rm -f "$state"
    [[ -d $dir/data ]] || exit 0
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null || true
    rm -rf "$dir"
    ;;
  *)
    echo "usage: $0 start|stop STATEFILE" >&2
    exit 2
    ;;
esac
