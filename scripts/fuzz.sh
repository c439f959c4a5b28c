#!/usr/bin/env bash
# Builds the script engine's fuzz target with clang and runs it for a bounded time:
#   bash scripts/fuzz.sh [SECONDS]    (default 60)
# The corpus starts from the script tests and grows in build/fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

cmake --preset fuzz
cmake --build --preset fuzz

corpus=build/fuzz/corpus
mkdir -p "$corpus"
find tests/script tests/fuzz/corpus -name '*.vbs' -exec cp -t "$corpus" {} + 2>/dev/null || true

# Leaks of a run are faults too; a slow input is one that takes over 10 s.
ASAN_OPTIONS=detect_leaks=1 build/fuzz/tests/fuzz/vesk_fuzz_script \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=4096 \
  -dict=tests/fuzz/vbscript.dict -print_final_stats=1 "$corpus"
