#!/usr/bin/env bash
# The desktop program's start and size, measured on the real program:
#   - cold start to the main window on screen (splash left out), with hyperfine;
#   - peak memory (VmHWM) with five profiles open, the first from the command line and four
#     handed over by later starts, as double clicks in a file manager would.
# Usage: tests/bench/desktop_start.sh BUILD_DIR   (a release build: build/release)
set -euo pipefail
build="$(cd "${1:-build/release}" && pwd)"
program="$build/src/veskcps"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/run"
chmod 700 "$work/run"
export XDG_CONFIG_DIRS="$build/stage/etc/xdg" XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/run" VESKCPS_CABLE_DIR="$work/cables" VESKCPS_NO_SPLASH=1
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

echo "== cold start to the main window ($QT_QPA_PLATFORM)"
VESKCPS_EXIT_WHEN_SHOWN=1 hyperfine --warmup 2 --runs 20 "$program"

echo "== peak memory with five profiles open"
templates=("$build"/stage/share/veskcps/profiletemplate/*.vk4)
for i in 1 2 3 4 5; do
  cp "${templates[$((i - 1))]}" "$work/profile$i.vk4"
done
"$program" "$work/profile1.vk4" &
pid=$!
sleep 2
for i in 2 3 4 5; do
  "$program" "$work/profile$i.vk4"
done
sleep 2
grep -E 'VmHWM|VmRSS' "/proc/$pid/status"
kill "$pid"
wait "$pid" 2>/dev/null || true
