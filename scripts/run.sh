#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and starts veskcps from the build tree
# with its own installation and a throw-away user configuration (never the real home's).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset dev
cmake --build --preset dev

build="$PWD/build/dev"
export XDG_CONFIG_DIRS="$build/stage/etc/xdg"
export XDG_CONFIG_HOME="$build/run-home/config"
mkdir -p "$XDG_CONFIG_HOME"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting veskcps on a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$build/src/veskcps" "$@"
fi
exec "$build/src/veskcps" "$@"
