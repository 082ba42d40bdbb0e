#!/bin/sh
# The run command: installs what the viewer needs, builds it, points it at a
# local log database directory (a blank server: Firebird's embedded engine
# serves, no server process) and starts it the way the main module does.
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

cmake -S . -B build/app -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRACORA_TESTS=OFF >/dev/null
cmake --build build/app -j "$JOBS" --target tracora

APP_DIR="$ROOT/build/app/src/Tracora"
DEMO_DIR="${TRACORA_DEMO_DIR:-$ROOT/build/demo-log}"
mkdir -p "$DEMO_DIR"
if [ ! -f "$APP_DIR/system.ini" ]; then
  printf '[SYSTEM]\nServidor=\nCaminho=%s/\n' "$DEMO_DIR" >"$APP_DIR/system.ini"
fi

cd "$APP_DIR"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting the viewer under a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a ./tracora Quarzit_Bemmelsk
fi
exec ./tracora Quarzit_Bemmelsk
