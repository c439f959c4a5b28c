#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs every test: once optimised with
# warnings as errors, once under AddressSanitizer and UndefinedBehaviorSanitizer; then fuzzes the
# script engine for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

for preset in ci asan; do
  echo "=== ${preset}: configure and build"
  cmake --preset "${preset}"
  cmake --build --preset "${preset}"
  echo "=== ${preset}: test"
  ctest --preset "${preset}" -j"$(nproc)"
done

echo "=== fuzz: script engine, ${VESK_FUZZ_SECONDS:-60} s"
bash scripts/fuzz.sh "${VESK_FUZZ_SECONDS:-60}"
