#!/bin/sh
# Starts the Firebird 3 server on 127.0.0.1:3050 with SYSDBA's password set to
# the one the viewer works with. Fails when the server cannot be started.
set -eu
SYSDBA_PASSWORD=pelicanos
if [ "$(id -u)" -ne 0 ]; then
  echo "start-test-server.sh must run as root" >&2
  exit 1
fi

# The services manager answers without any database.
server_up() {
  fbsvcmgr localhost:service_mgr user SYSDBA password "$1" info_server_version >/dev/null 2>&1
}

if ! pgrep -x firebird >/dev/null 2>&1; then
  mkdir -p /run/firebird3.0
  chown firebird:firebird /run/firebird3.0
  su -s /bin/sh firebird -c "/usr/sbin/fbguard -daemon -forever"
fi

# Wait for the listener.
i=0
until fbsvcmgr localhost:service_mgr user SYSDBA password x info_server_version 2>&1 | grep -qv "Unable to complete network request"; do
  i=$((i + 1))
  if [ "$i" -gt 50 ]; then
    echo "Firebird server did not start listening on localhost:3050" >&2
    exit 1
  fi
  sleep 0.2
done

if ! server_up "$SYSDBA_PASSWORD"; then
  # Fresh install: the package wrote a random password.
  . /etc/firebird/3.0/SYSDBA.password
  gsec -user SYSDBA -password "$ISC_PASSWORD" -modify SYSDBA -pw "$SYSDBA_PASSWORD"
  sed -i "s/^ISC_PASSWORD=.*/ISC_PASSWORD=\"$SYSDBA_PASSWORD\"/" /etc/firebird/3.0/SYSDBA.password
fi

if ! server_up "$SYSDBA_PASSWORD"; then
  echo "Firebird server is not answering as SYSDBA" >&2
  exit 1
fi
echo "Firebird server running on localhost:3050 (SYSDBA/$SYSDBA_PASSWORD)"
