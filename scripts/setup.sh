#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing the ZN420 CPS needs.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build ccache pkg-config git python3
  clang clang-format clang-tidy
  # the fuzzers: the core needs clang 16 (std::source_location), with its fuzzer runtime
  clang-16 libclang-rt-16-dev
  # Qt 6: widgets, print support, serial port, help (qhelpgenerator is in qt6-tools-dev-tools),
  # svg with its image format and icon engine plugins (libqt6svg6), linguist tools. Real package
  # names only: a virtual one is never "installed", so it would send every run to apt-get.
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-serialport-dev qt6-svg-dev libqt6svg6 qt6-documentation-tools
  qt6-qpa-plugins libgl-dev
  # XML
  libxml2-dev libxslt1-dev libxml2-utils xsltproc
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # running the desktop program headless, mail hand-off, screenshots
  xvfb xauth xdg-utils x11-utils imagemagick fonts-dejavu-core
  # the desktop tests read the widgets through the accessibility bus
  python3-pyatspi at-spi2-core dbus dbus-x11
  # the reports printed by a browser and read back from their PDFs
  chromium poppler-utils
  # measuring
  valgrind hyperfine
)

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
