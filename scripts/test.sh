#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds with warnings as errors under
# AddressSanitizer and UndefinedBehaviorSanitizer, runs every test, then fuzzes the script engine,
# the profile file reader, the image conversion, the reply parser and the radio memory unpacking
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

# fuzz.sh stamps each fuzzer's start itself; its defaults keep the five runs near three minutes.
bash scripts/fuzz.sh "${VESK_FUZZ_SECONDS:-45}" "${VESK_PROFILE_FUZZ_SECONDS:-40}" \
  "${VESK_IMAGE_FUZZ_SECONDS:-30}" "${VESK_REPLY_FUZZ_SECONDS:-20}" "${VESK_MEMORY_FUZZ_SECONDS:-35}"
stamp "done"
