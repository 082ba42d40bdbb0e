#!/bin/sh
# The demo: installs what the viewer needs (as root), builds the viewer and the
# log writer, points the viewer at a demo log on Firebird's embedded engine (a
# blank server, no server process), provisions that log the way the viewer does
# on its first start, fills it once with synthetic entries and starts the viewer
# the way the family's main module does. Run again, it reuses the demo log.
#
# Environment: TRACORA_BUILD_DIR (default build/app in the clone, or
# ~/.cache/tracora/app when the clone is not writable), TRACORA_DEMO_DIR (where
# SYSTEM.DAT lies; default demo-log beside the build), TRACORA_DEMO_ENTRIES.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
JOBS=$(nproc)

if [ "$(id -u)" -eq 0 ]; then
  scripts/setup-packages.sh
else
  scripts/setup-packages.sh || {
    echo "Ask an administrator to run scripts/setup-packages.sh once as root." >&2
    exit 1
  }
fi

# Everything this script writes lies in the user's own directories.
if [ -w "$ROOT" ]; then
  BASE="$ROOT/build"
else
  BASE="${XDG_CACHE_HOME:-$HOME/.cache}/tracora"
fi
BUILD="${TRACORA_BUILD_DIR:-$BASE/app}"
DEMO_DIR="${TRACORA_DEMO_DIR:-$BASE/demo-log}"
ENTRIES="${TRACORA_DEMO_ENTRIES:-3000}"

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRACORA_TESTS=OFF \
  -DTRACORA_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "$JOBS" --target tracora tracora-logwriter

# A private root for the embedded engine, with its own security database: the
# server's one is not readable by other users, and while a server runs the
# embedded engine's services cannot use it at all.
FBROOT="$BUILD/fbroot"
scripts/embedded-root.sh "$FBROOT"
export FIREBIRD="$FBROOT" FIREBIRD_LOCK="$FBROOT/lock"

APP_DIR="$BUILD/src/Tracora"
WRITER="$BUILD/tools/logwriter/tracora-logwriter"
mkdir -p "$DEMO_DIR"
if [ ! -f "$APP_DIR/system.ini" ]; then
  printf '[SYSTEM]\nServidor=\nCaminho=%s/\n' "$DEMO_DIR" >"$APP_DIR/system.ini"
fi

"$WRITER" --ini "$APP_DIR" provision
"$WRITER" --ini "$APP_DIR" synthetic "$ENTRIES" --seed 1 --if-empty

cd "$APP_DIR"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting the viewer under a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" ./tracora Quarzit_Bemmelsk
fi
exec ./tracora Quarzit_Bemmelsk
