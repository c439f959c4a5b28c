#!/usr/bin/env bash
# A dealer's whole session through the real program on a virtual X server, driven through the
# accessibility bus: New from a template, a change on every page, Save, Write to a simulated
# radio, Read it back into a new window, Save; then veskctl finds both files equal.
# Usage: run.sh VESKCPS VESKSIM VESKCTL TEMPLATE_DIR [--shots FOLDER]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$1" sim="$2" ctl="$3" templates="$4"; shift 4
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" && chmod 700 "$XDG_RUNTIME_DIR"
# A status block of its own: other copies of the program on this machine (tests running beside
# this one) must not be taken for this session's.
export VESKCPS_STATUS_BLOCK="/vesk-session-$$"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 VESKCPS_NO_SPLASH=1
unset QT_QPA_PLATFORM
"$sim" --fast --memory "$work/radio.bin" --from "$templates/CUD41600.vk4" --cable session \
  >"$work/sim.out" 2>"$work/sim.log" &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do grep -q '^cable ' "$work/sim.out" 2>/dev/null && break; sleep 0.1; done
exec xvfb-run -a -s '-screen 0 1280x800x24' dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  bus=$!
  sleep 0.5
  "$0" &
  app=$!
  trap "kill $app $bus 2>/dev/null || true" EXIT
  /usr/bin/python3 "$1" --work "$2" --veskctl "$3" --template "$4" "${@:5}"
' "$program" "$here/session.py" "$work" "$ctl" "$templates/CUD41600.vk4" "$@"
