#!/bin/sh
# Builds logs of the given sizes with the log writer, then measures the viewer's
# search, export, report and start-up over TCP and on the embedded engine, next
# to the client library's limit and the peers, and prints one table.
# Usage: scripts/bench.sh [--sizes 10000,100000,1000000] [--build-dir DIR]
# Needs the Firebird server (scripts/start-test-server.sh starts it as root).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SIZES=10000,100000,1000000
BUILD="$ROOT/build-bench"
while [ $# -gt 0 ]; do
  case "$1" in
    --sizes) SIZES=${2:?--sizes needs a list}; shift 2 ;;
    --build-dir) BUILD=${2:?--build-dir needs a directory}; shift 2 ;;
    -h|--help) sed -n 2,6p "$0"; exit 0 ;;
    *) echo "bench.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRACORA_BENCH=ON >/dev/null
cmake --build "$BUILD" --target tracora_bench bench_startup bench_qt_ibase tracora-logwriter >/dev/null
WRITER="$BUILD/tools/logwriter/tracora-logwriter"
BENCH="$BUILD/bench/tracora_bench"

if [ "$(id -u)" -eq 0 ]; then
  "$ROOT/scripts/start-test-server.sh" >/dev/null
fi

# The server runs as its own user: the logs lie where it can write.
WORK=$(mktemp -d /tmp/tracora-bench.XXXXXX)
chmod 777 "$WORK"
trap 'rm -rf "$WORK"' EXIT INT TERM
"$ROOT/scripts/embedded-root.sh" "$WORK/fbroot" >/dev/null
export FIREBIRD="$WORK/fbroot" FIREBIRD_LOCK="$WORK/fbroot/lock"

ini() {  # DIR SERVER: the system.ini the viewer and the writer read in DIR
  printf '[SYSTEM]\r\nServidor=%s\r\nCaminho=%s/\r\n' "$2" "$1" >"$1/system.ini"
}

"$BENCH" --header
for n in $(echo "$SIZES" | tr ',' ' '); do
  tcp="$WORK/log-$n"
  local_copy="$WORK/log-$n-embedded"
  mkdir -p "$tcp" "$local_copy"
  chmod 777 "$tcp" "$local_copy"
  # Provisioned by the server as the viewer would, then filled through the
  # embedded engine, which writes without a network round trip per entry.
  ini "$tcp" localhost
  "$WRITER" --ini "$tcp" provision >/dev/null
  ini "$tcp" ""
  "$WRITER" --ini "$tcp" synthetic "$n" --long-every 1000 >&2
  ini "$tcp" localhost
  cp "$tcp/SYSTEM.DAT" "$local_copy/SYSTEM.DAT"
  ini "$local_copy" ""
  "$BENCH" --rows "$n" --tcp "$tcp" --embedded "$local_copy"
  rm -rf "$tcp" "$local_copy"
done
