#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and starts veskcps from the build tree
# with its own installation and a throw-away user configuration (never the real home's), and a
# simulated radio on a virtual cable attached.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset dev
cmake --build --preset dev

build="$PWD/build/dev"
export XDG_CONFIG_DIRS="$build/stage/etc/xdg"
export XDG_CONFIG_HOME="$build/run-home/config"
mkdir -p "$XDG_CONFIG_HOME"
# The simulator registers its cable where veskcps looks for cables: both see the same runtime
# folder. Its memory lives on between runs, like a radio's.
export XDG_RUNTIME_DIR="$build/run-home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# The first run gives the radio a hotel's programming, so that a first Read shows a real profile;
# delete radio-memory.bin to start over.
memory="$build/run-home/radio-memory.bin"
from=()
if [ ! -e "$memory" ]; then
  bash scripts/make_demo_radio.sh "$build/tools/veskctl/veskctl" "$build/run-home/demo-radio.vk4"
  from=(--from "$build/run-home/demo-radio.vk4")
fi
sim_out="$build/run-home/vesksim.out"
"$build/tools/vesksim/vesksim" --memory "$memory" "${from[@]}" --cable run-sh \
  >"$sim_out" 2>"$build/run-home/vesksim.log" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  grep -q '^cable ' "$sim_out" 2>/dev/null && break
  kill -0 "$sim" 2>/dev/null || { cat "$build/run-home/vesksim.log" >&2; exit 1; }
  sleep 0.1
done
echo "Simulated radio on $(cut -d' ' -f3 "$sim_out") (log: $build/run-home/vesksim.log)." >&2

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting veskcps on a virtual X server (xvfb-run)." >&2
  xvfb-run -a -s "-screen 0 1600x1000x24" "$build/src/veskcps" "$@"
else
  "$build/src/veskcps" "$@"
fi
