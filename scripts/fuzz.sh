#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time:
#   bash scripts/fuzz.sh [SCRIPT_SECONDS [PROFILE_SECONDS [IMAGE_SECONDS]]]
#                                                          (defaults 60, 45 and 30)
# The script engine's corpus starts from the script tests and grows in build/fuzz/corpus; the
# profile reader's starts from the sample profiles and the templates, each plain and scrambled,
# and grows in build/fuzz/profile_corpus; the codeplug image conversion's starts from the golden
# images and grows in build/fuzz/image_corpus. Every fuzzer runs even when an earlier one finds a
# fault; the exit status is non-zero when any did. VESK_FUZZ_BUILD_DIR names an already configured build
# folder to use instead of the "fuzz" preset's.
set -euo pipefail
cd "$(dirname "$0")/.."
script_seconds="${1:-60}"
profile_seconds="${2:-45}"
image_seconds="${3:-30}"

stamp() { echo "=== $(date +%T) $*"; }

build="${VESK_FUZZ_BUILD_DIR:-build/fuzz}"
if [ -z "${VESK_FUZZ_BUILD_DIR:-}" ]; then
  cmake --preset fuzz
fi
cmake --build "$build" --target vesk_fuzz_script vesk_fuzz_profile vesk_fuzz_image

status=0

corpus="$build/corpus"
mkdir -p "$corpus"
find tests/script tests/fuzz/corpus -name '*.vbs' -exec cp -t "$corpus" {} + 2>/dev/null || true

# Leaks of a run are faults too; a slow input is one that takes over 10 s.
stamp "fuzz: script engine, ${script_seconds} s"
ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/vesk_fuzz_script" \
  -max_total_time="$script_seconds" -timeout=10 -rss_limit_mb=4096 -max_len=4096 \
  -dict=tests/fuzz/vbscript.dict -print_final_stats=1 "$corpus" || status=$?

# Seeds in both forms a profile file comes in. The scrambling is written out here rather than
# taken from the program so that a seed is right even when the reader under test is not.
profile_corpus="$build/profile_corpus"
mkdir -p "$profile_corpus"
python3 - "$profile_corpus" tests/data/profiles/good/*.xml install/profiletemplate/*.vk4 <<'EOF'
import pathlib, sys

MASK = 0xA5
out = pathlib.Path(sys.argv[1])

def scramble(units):
    return [u if u == MASK else u ^ MASK for u in units]

for name in sys.argv[2:]:
    data = pathlib.Path(name).read_bytes()
    if data[:2] == b"\xff\xfe":
        units = [int.from_bytes(data[i:i + 2], "little") for i in range(2, len(data) - 1, 2)]
        if not bytes(u & 0xFF for u in units[:5]).lower().startswith(b"<?xml"):
            units = scramble(units)
        text = b"".join(u.to_bytes(2, "little") for u in units).decode("utf-16-le", "replace")
    else:
        text = data.decode("utf-8-sig", "replace")
    units = [int.from_bytes(text.encode("utf-16-le")[i:i + 2], "little")
             for i in range(0, len(text.encode("utf-16-le")), 2)]
    stem = pathlib.Path(name).stem
    (out / (stem + ".plain")).write_bytes(text.encode("utf-8"))
    (out / (stem + ".scrambled")).write_bytes(
        b"\xff\xfe" + b"".join(u.to_bytes(2, "little") for u in scramble(units)))
EOF

stamp "fuzz: profile files, ${profile_seconds} s"
ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/vesk_fuzz_profile" \
  -max_total_time="$profile_seconds" -timeout=10 -rss_limit_mb=4096 -max_len=32768 \
  -artifact_prefix="$build/profile-" -print_final_stats=1 "$profile_corpus" || status=$?

# Images as a radio hands them over; the golden images reach past the serial number check that
# random bytes rarely pass. The inputs are fixed-size records, so longer ones teach nothing.
image_corpus="$build/image_corpus"
mkdir -p "$image_corpus"
for image in tests/data/images/*/image.bin; do
  if [ -f "$image" ]; then
    cp "$image" "$image_corpus/$(basename "$(dirname "$image")").bin"
  fi
done

stamp "fuzz: codeplug images, ${image_seconds} s"
ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/vesk_fuzz_image" \
  -max_total_time="$image_seconds" -timeout=10 -rss_limit_mb=4096 -max_len=2145 \
  -artifact_prefix="$build/image-" -print_final_stats=1 "$image_corpus" || status=$?

exit "$status"
