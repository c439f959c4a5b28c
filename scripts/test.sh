#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds with warnings as errors under
# AddressSanitizer and UndefinedBehaviorSanitizer, runs every test, then fuzzes the script engine
# and the profile file reader for a bounded time. (The optimised `ci` preset is for developers;
# one instrumented build keeps CI short and catches more.)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

stamp() { echo "=== $(date +%T) $*"; }

stamp "asan: configure and build"
cmake --preset asan
cmake --build --preset asan
stamp "asan: test"
ctest --preset asan -j"$(nproc)"

# fuzz.sh stamps each fuzzer's start itself.
bash scripts/fuzz.sh "${VESK_FUZZ_SECONDS:-60}" "${VESK_PROFILE_FUZZ_SECONDS:-45}"
stamp "done"
