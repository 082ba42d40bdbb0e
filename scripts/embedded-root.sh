#!/bin/sh
# Makes a private root for Firebird's embedded engine in DIR: the installed
# engine's files, a configuration of its own and a security database of its own.
# With FIREBIRD=DIR and FIREBIRD_LOCK=DIR/lock the embedded engine and its
# services work without a server process's files, also beside a running server
# and for a user who cannot read the server's security database.
set -eu
DIR=${1:?usage: embedded-root.sh DIR}
LIB=/usr/lib/x86_64-linux-gnu/firebird/3.0
mkdir -p "$DIR/lock"
for f in UDF lib plugins firebird.msg plugins.conf; do
  [ -e "$DIR/$f" ] || ln -s "$LIB/$f" "$DIR/$f"
done
# The character sets module must lie in the root itself: a link is not enough.
mkdir -p "$DIR/intl"
[ -e "$DIR/intl/fbintl.conf" ] || ln -s "$LIB/intl/fbintl.conf" "$DIR/intl/fbintl.conf"
[ -e "$DIR/intl/libfbintl.so" ] || cp "$LIB/intl/libfbintl.so" "$DIR/intl/libfbintl.so"
cat >"$DIR/firebird.conf" <<CONF
SecurityDatabase = $DIR/security3.fdb
CONF
cat >"$DIR/databases.conf" <<CONF
security.db = $DIR/security3.fdb
{
	RemoteAccess = false
}
CONF
if [ ! -f "$DIR/security3.fdb" ]; then
  export FIREBIRD="$DIR" FIREBIRD_LOCK="$DIR/lock"
  echo "CREATE DATABASE '$DIR/security3.fdb' USER 'SYSDBA';" | isql-fb -q >/dev/null 2>&1 || true
  isql-fb -q -user SYSDBA "$DIR/security3.fdb" -i /usr/share/firebird/3.0/security.sql
  # Listing users fails on a security database without any account.
  fbsvcmgr service_mgr user SYSDBA password pelicanos \
    action_add_user sec_username SYSDBA sec_password pelicanos
fi
[ -f "$DIR/security3.fdb" ] || { echo "could not make $DIR/security3.fdb" >&2; exit 1; }
