#!/usr/bin/env bash
# Builds Crinova and starts it on its sample program folder and database.
set -euo pipefail
CRINOVA_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$CRINOVA_ROOT/scripts/common.sh"

crinova_build "$CRINOVA_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No hay pantalla: para verlo sin monitor, ejecute  xvfb-run -s '-screen 0 1024x768x24' ./run.sh" >&2
    exit 1
fi
exec "$CRINOVA_ROOT/build/programa/crinova"
