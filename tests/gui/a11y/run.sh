#!/usr/bin/env bash
# Starts veskcps on a virtual X server with the accessibility bus and walks it with walk.py.
# Usage: run.sh VESKCPS [--shots FOLDER]. The environment names the installation and hives.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$1"; shift
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 VESKCPS_NO_SPLASH=1
unset QT_QPA_PLATFORM
exec xvfb-run -a -s '-screen 0 1280x800x24' dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  bus=$!
  sleep 0.5
  "$0" &
  app=$!
  trap "kill $app $bus 2>/dev/null || true" EXIT
  /usr/bin/python3 "$1" --program "$0" "${@:2}"
' "$program" "$here/walk.py" "$@"
