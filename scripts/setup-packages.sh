#!/bin/sh
# Installs every Debian 12 package the project builds, tests and runs with.
# Usage: scripts/setup-packages.sh [extra packages...]
set -eu
export DEBIAN_FRONTEND=noninteractive
PACKAGES="
  build-essential cmake ninja-build pkg-config git ca-certificates procps
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  firebird3.0-server firebird3.0-server-core firebird3.0-utils firebird-dev libfbclient2
  libgtest-dev libgmock-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth poppler-utils
  clang-14 libclang-rt-14-dev
  libqt6sql6-ibase
"
missing=""
for p in $PACKAGES "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages:$missing" >&2
    echo "Run this script as root (or install them with apt-get) first." >&2
    exit 1
  fi
  apt-get update -q
  apt-get install -y -q --no-install-recommends $missing
fi
