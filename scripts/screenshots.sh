#!/bin/sh
# Makes the README's pictures again from the demo log, under a virtual X server:
# the main window with a search result, the print preview of that result, and
# the connection dialog of a first start. Run it as root on a fresh machine or
# after scripts/setup-packages.sh.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
OUT="$ROOT/docs/screenshots"
mkdir -p "$OUT"

if [ "$(id -u)" -eq 0 ]; then
  scripts/setup-packages.sh imagemagick xdotool
fi

DISPLAY_NUMBER=97
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x800x24 >/dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2>/dev/null || true' EXIT
export DISPLAY=":$DISPLAY_NUMBER"
sleep 1

# The demo starts the viewer on this display.
scripts/run.sh >/tmp/tracora-screenshots.log 2>&1 &
VIEWER=$!
window=""
for _ in $(seq 1 300); do
  window=$(xdotool search --name "Visualizador de Log" 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 1
done
[ -n "$window" ] || { echo "the viewer did not come up; see /tmp/tracora-screenshots.log" >&2; exit 1; }
sleep 2
xdotool windowsize "$window" 1280 800
xdotool windowfocus "$window"
sleep 1

# A search for one action, then the first entries of the result.
xdotool key Tab Tab Tab Tab Tab
xdotool type "EXCLUIU"
xdotool key alt+p
sleep 2
xdotool key Down Down
sleep 1
import -window root "$OUT/main-window.png"

xdotool key alt+i
sleep 3
preview=$(xdotool search --name "" 2>/dev/null | tail -1)
xdotool windowmove "$preview" 0 0 2>/dev/null || true
xdotool windowsize "$preview" 1280 800 2>/dev/null || true
sleep 1
import -window root "$OUT/report-preview.png"
xdotool key Escape
sleep 1
kill "$VIEWER" 2>/dev/null || true
pkill -f "tracora Quarzit_Bemmelsk" 2>/dev/null || true
sleep 1

# A first start: a viewer directory without system.ini asks for the connection.
FIRST=$(mktemp -d)
cp "$ROOT/build/app/src/Tracora/tracora" "$FIRST/"
(cd "$FIRST" && ./tracora Quarzit_Bemmelsk >/dev/null 2>&1 &)
for _ in $(seq 1 30); do
  dialog=$(xdotool search --name "Configuração de Conexão" 2>/dev/null | head -1) && [ -n "$dialog" ] && break
  sleep 1
done
sleep 1
import -window "$dialog" "$OUT/connection-dialog.png"
pkill -f "$FIRST/tracora" 2>/dev/null || true
pkill -f "tracora Quarzit_Bemmelsk" 2>/dev/null || true
rm -rf "$FIRST"
echo "Pictures written to $OUT"
