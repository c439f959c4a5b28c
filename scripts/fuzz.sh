#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time:
#   bash scripts/fuzz.sh [SCRIPT [PROFILE [IMAGE [REPLY [MEMORY]]]]]
#                                          (seconds; defaults 45, 40, 30, 20 and 35)
# The script engine's corpus starts from the script tests and grows in build/fuzz/corpus; the
# profile reader's starts from the sample profiles and the templates, each plain and scrambled,
# and grows in build/fuzz/profile_corpus; the codeplug image conversion's starts from the golden
# images and grows in build/fuzz/image_corpus; the reply parser's starts from replies of every
# kind the radio gives, whole and in pieces, and grows in build/fuzz/reply_corpus; the radio
# memory unpacking's starts from the templates and golden images as a radio holds them and grows
# in build/fuzz/memory_corpus. Every fuzzer runs even when an earlier one finds a fault; the exit
# status is non-zero when any did. VESK_FUZZ_BUILD_DIR names an already configured build folder to
# use instead of the "fuzz" preset's.
set -euo pipefail
cd "$(dirname "$0")/.."
script_seconds="${1:-45}"
profile_seconds="${2:-40}"
image_seconds="${3:-30}"
reply_seconds="${4:-20}"
memory_seconds="${5:-35}"

stamp() { echo "=== $(date +%T) $*"; }

build="${VESK_FUZZ_BUILD_DIR:-build/fuzz}"
if [ -z "${VESK_FUZZ_BUILD_DIR:-}" ]; then
  cmake --preset fuzz
fi
cmake --build "$build" --target vesk_fuzz_script vesk_fuzz_profile vesk_fuzz_image \
  vesk_fuzz_reply vesk_fuzz_memory vesk_fuzz_memory_seeds

status=0

corpus="$build/corpus"
mkdir -p "$corpus"
find tests/script tests/fuzz/corpus -name '*.vbs' -exec cp -t "$corpus" {} + 2>/dev/null || true

# Leaks of a run are faults too; a slow input is one that takes over 10 s. The entropic schedule
# is off for the script engine: its bookkeeping over the engine's many coverage features took more
# time than the runs themselves, and plain scheduling covers more in a CI minute.
stamp "fuzz: script engine, ${script_seconds} s"
ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/vesk_fuzz_script" \
  -max_total_time="$script_seconds" -timeout=10 -rss_limit_mb=4096 -max_len=4096 -entropic=0 \
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

# Every input is written to a file for the admission check; on a disk that discards freed blocks
# that waiting alone costs a fifth of the runs, so the fuzzer's files go to memory where it can.
profile_tmp="${TMPDIR:-/tmp}"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  profile_tmp=/dev/shm
fi

stamp "fuzz: profile files, ${profile_seconds} s"
TMPDIR="$profile_tmp" ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/vesk_fuzz_profile" \
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

# Replies as the radio gives them, laid out as the reply fuzzer takes them: the caller's room for
# data, the plan of pieces and silences, the bytes. Frames and checksums are written out here
# rather than taken from the program, for the same reason as the scrambling above.
reply_corpus="$build/reply_corpus"
mkdir -p "$reply_corpus"
python3 - "$reply_corpus" <<'EOF'
import pathlib, sys

out = pathlib.Path(sys.argv[1])

def seal(frame):
    return frame + bytes([0xFF - (sum(frame) & 0xFF)])

def long(command, body):
    return seal(bytes([0xFF, command, (len(body) + 1) >> 8, (len(body) + 1) & 0xFF]) + body)

def short(command, data):
    return seal(bytes([0xF0 + len(data) + 1, command]) + data)

def address(a):
    return bytes([a >> 16 & 0xFF, a >> 8 & 0xFF, a & 0xFF])

ACK = b"\x50"
memory = bytes(range(0x40, 0x60))
replies = {
    "read4": (4, ACK + long(0x80, address(0x10009) + memory[:4])),
    "read32": (32, ACK + long(0x80, address(0x10000) + memory)),
    "read_too_long": (26, ACK + long(0x80, address(0x10180) + memory)),
    "written": (64, ACK + long(0x84, address(0x10000))),
    "refused": (64, ACK + long(0x85, address(0x10000))),
    "start": (64, ACK + short(0x22, b"\x00\x00")),
    "firmware": (64, ACK + short(0x23, b"\x03R17")),
    "status": (64, ACK + short(0x23, b"\x09\x00\x00")),
    "memory_control": (64, ACK + short(0x38, b"\x00")),
    "frequency": (64, ACK + short(0x9A, b"\x01")),
    "skipped": (64, ACK + b"\x00\x13\xEF" + short(0x23, b"\x09\x00\x08")),
    "checksum_only": (64, ACK + seal(b"\xFF\x11\x00\x00") + ACK + seal(b"\xF1\x22")),
    "bad_checksum": (64, ACK + short(0x22, b"\x00")[:-1] + b"\x00"),
    "no_ack": (64, b"\x51" + short(0x22, b"\x00")),
    "ack_only": (64, ACK),
    "back_to_back": (4, (ACK + long(0x80, address(0x10E22) + memory[:4])) * 3),
}
# Pieces of one to three bytes, with silences inside each budget and at its edges.
plan = bytes([0x60, 0x81, 0x02, 0xC0, 0x62] * 4)[:16]
for name, (room, line) in replies.items():
    (out / (name + ".reply")).write_bytes(bytes([room - 1, 0]) + line)
    (out / (name + ".pieces")).write_bytes(bytes([room - 1, len(plan)]) + plan + line)
# A cable that fails in the middle of a reply.
line = ACK + long(0x80, address(0x10000) + memory)
(out / "cable_fails.reply").write_bytes(bytes([31, 2, 0x07, 0xFF]) + line)
EOF

stamp "fuzz: reply parser, ${reply_seconds} s"
ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/vesk_fuzz_reply" \
  -max_total_time="$reply_seconds" -timeout=10 -rss_limit_mb=4096 -max_len=512 \
  -artifact_prefix="$build/reply-" -print_final_stats=1 "$reply_corpus" || status=$?

# A radio's answers to the read operation. The seeds come from a tool that lays the templates and
# golden images into a radio's memory as the simulator does.
memory_corpus="$build/memory_corpus"
"$build/tests/fuzz/vesk_fuzz_memory_seeds" "$memory_corpus" || status=$?

stamp "fuzz: radio memory, ${memory_seconds} s"
ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/vesk_fuzz_memory" \
  -max_total_time="$memory_seconds" -timeout=10 -rss_limit_mb=4096 -max_len=1070 \
  -artifact_prefix="$build/memory-" -print_final_stats=1 "$memory_corpus" || status=$?

exit "$status"
