#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds with warnings as errors under
# AddressSanitizer and UndefinedBehaviorSanitizer, runs every test, then fuzzes the script engine
# for a bounded time. (The optimised `ci` preset is for developers; one instrumented build keeps
# CI short and catches more.)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

stamp() { echo "=== $(date +%T) $*"; }

stamp "asan: configure and build"
cmake --preset asan
cmake --build --preset asan
stamp "asan: test"
ctest --preset asan -j"$(nproc)"

stamp "fuzz: script engine, ${VESK_FUZZ_SECONDS:-60} s"
bash scripts/fuzz.sh "${VESK_FUZZ_SECONDS:-60}"
stamp "done"
