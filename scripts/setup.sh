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
  # Qt 6: widgets, print support, serial port, help, svg, linguist tools
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  libqt6serialport6-dev libqt6svg6-dev qt6-svg-dev qt6-documentation-tools
  qt6-qpa-plugins libgl-dev
  # XML
  libxml2-dev libxslt1-dev libxml2-utils xsltproc
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # running the desktop program headless, mail hand-off, screenshots
  xvfb xauth xdg-utils x11-utils imagemagick fonts-dejavu-core
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
