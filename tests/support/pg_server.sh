#!/usr/bin/env bash
# A private PostgreSQL server for the tests of the network accounting form.
#
#   pg_server.sh run -- COMMAND...
#
# lays out a cluster in a new temporary folder, starts it listening only on
# a Unix socket in that folder, creates the catalog KS770CW, runs COMMAND
# with GZGL_TEST_ODBC set to an ODBC connection text (psqlODBC named by its
# library, so no system data source is needed; the password is in
# GZGL_TEST_ODBC_PASSWORD, never in the text; GZGL_TEST_PSQL is a psql
# command line reaching the catalog as the same user) and stops the server and
# removes the folder afterwards, whatever COMMAND did. The exit code is
# COMMAND's; a machine without PostgreSQL or its ODBC driver fails with a
# message instead of passing silently. Run as root, the server runs as the
# user postgres (initdb and the server refuse root).
set -u

die() {
  echo "ODBC 测试无法进行 / cannot run the ODBC tests: $*" >&2
  exit 1
}

[ "${1:-}" = run ] && [ "${2:-}" = -- ] && [ $# -ge 3 ] || die "usage: pg_server.sh run -- COMMAND..."
shift 2

bin=""
for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
  [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ] && { bin="$d"; break; }
done
if [ -z "$bin" ] && command -v pg_ctl >/dev/null && command -v initdb >/dev/null; then
  bin="$(dirname "$(command -v pg_ctl)")"
fi
[ -n "$bin" ] || die "PostgreSQL (initdb, pg_ctl) is not installed; install postgresql"
driver=""
for f in /usr/lib/*/odbc/psqlodbcw.so /usr/lib/odbc/psqlodbcw.so /usr/lib64/psqlodbcw.so; do
  [ -e "$f" ] && { driver="$f"; break; }
done
[ -n "$driver" ] || die "the PostgreSQL ODBC driver psqlodbcw.so is missing; install odbc-postgresql"

as=()
if [ "$(id -u)" = 0 ]; then
  id postgres >/dev/null 2>&1 || die "running as root needs the user postgres"
  as=(runuser -u postgres --)
fi

dir=$(mktemp -d /tmp/gzgl-pg.XXXXXX) || die "no temporary folder"
data="$dir/data"
started=0
cleanup() {
  if [ "$started" = 1 ]; then
    "${as[@]}" "$bin/pg_ctl" -D "$data" -m immediate -w stop >/dev/null 2>&1
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

password="pw-$RANDOM$RANDOM"
printf '%s\n' "$password" >"$dir/pwfile"
[ ${#as[@]} -gt 0 ] && chown -R postgres "$dir"
chmod 700 "$dir"

"${as[@]}" "$bin/initdb" -D "$data" -U postgres -A scram-sha-256 --pwfile="$dir/pwfile" -E UTF8 \
  --locale=C >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; die "initdb failed"; }
rm -f "$dir/pwfile"
"${as[@]}" "$bin/pg_ctl" -D "$data" -l "$dir/server.log" -w -t 30 \
  -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off -c lc_messages=C" \
  start >/dev/null 2>&1 || { cat "$dir/server.log" >&2; die "the server did not start"; }
started=1

PGPASSWORD="$password" "$bin/psql" -X -q -h "$dir" -U postgres -d postgres \
  -c 'create database "KS770CW"' >/dev/null 2>"$dir/psql.log" ||
  { cat "$dir/psql.log" >&2; die "the catalog could not be made"; }

export GZGL_TEST_ODBC="Driver=$driver;Server=$dir;Port=5432;UID=postgres"
export GZGL_TEST_ODBC_PASSWORD="$password"
export GZGL_TEST_PSQL="$bin/psql -X -q -A -t -h $dir -U postgres -d KS770CW"
# In sanitizer builds: the ODBC driver keeps a little memory of each
# connection to the end of the process; that is the driver's, not ours.
printf 'leak:psqlodbcw.so\nleak:libodbc.so\n' >"$dir/lsan.supp"
export LSAN_OPTIONS="suppressions=$dir/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
"$@"
rc=$?
exit $rc
