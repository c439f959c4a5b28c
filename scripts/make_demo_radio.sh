#!/usr/bin/env bash
# Makes the profile of the simulated radio that run.sh attaches: a UHF display handheld of a
# hotel, with named channels on business-band frequencies and squelch codes set, so that a first
# Read shows a real profile. Built from the model template through veskctl's editing verbs, so
# every value passes the same rules as an edit by hand.
#
#   make_demo_radio.sh VESKCTL OUT.vk4
#
# veskctl must see an installation (XDG_CONFIG_DIRS naming the build tree's machine hive).
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 VESKCTL OUT.vk4" >&2
  exit 2
fi
veskctl=$1
out=$2
work="$out.part"
trap 'rm -f "$work"' EXIT

# veskctl's answers (the questions --yes answers, for one) only when a step fails.
quiet() {
  local said
  said=$("$@" 2>&1) || { printf '%s\n' "$said" >&2; return 1; }
}

# A display handheld, 16 channels, 450-470 MHz, region 00 (narrowband: 12.5 kHz only).
quiet "$veskctl" new --template CUD41600 -o "$work"

# The frequency table: the itinerant and business pool channels such a site is licensed for,
# 12.5 kHz, power selectable with high as default, compander on.
freqs=(464.5000 464.5500 469.5000 469.5500 461.0375 461.0625 461.0875 461.1125
       462.7625 462.7875 467.7625 467.8125)
# The template's own table goes: channels are moved onto its first entry, the others deleted, and
# that one then becomes the first of ours.
count=$("$veskctl" decode "$work" | grep -c '<frequency ' || true)
moves=()
for n in $(seq 1 16); do
  moves+=("channels/channel[$n]/rx_freq_ndx=0" "channels/channel[$n]/tx_freq_ndx=0")
done
quiet "$veskctl" set "$work" "${moves[@]}"
for ((n = count; n > 1; n--)); do
  quiet "$veskctl" delete-frequency "$work" "$n" --yes
done
quiet "$veskctl" edit-frequency "$work" 1 "${freqs[0]}" 0 3 2 --yes
for f in "${freqs[@]:1}"; do
  quiet "$veskctl" add-frequency "$work" "$f" 0 3 2 --yes
done

# Channels: name, frequency (table entry from 1), squelch code on both paths (KT tones 1-38,
# VRC codes 39-121, 0 none), scan list membership.
channels=(
  "FRONT DK|1|12|1"   # 100.0 Hz
  "SECURITY|2|39|1"   # VRC 023
  "KITCHEN|3|14|1"    # 107.2 Hz
  "HOUSEKPG|4|16|1"   # 114.8 Hz
  "MAINT|5|18|1"      # 123.0 Hz
  "VALET|6|20|1"      # 131.8 Hz
  "BANQUET|7|22|1"    # 141.3 Hz
  "BELLDESK|8|24|1"   # 151.4 Hz
  "POOL|9|26|0"       # 162.2 Hz
  "SPA|10|28|0"       # 173.8 Hz
  "ENGINEER|11|45|1"  # VRC 047
  "MANAGER|12|50|0"   # VRC 072
  "EVENTS|1|30|0"     # 186.2 Hz
  "LAUNDRY|2|32|0"    # 203.5 Hz
  "SHUTTLE|3|34|1"    # 218.1 Hz
  "ALL CALL|5|0|1"    # carrier squelch
)
edits=()
n=0
for row in "${channels[@]}"; do
  n=$((n + 1))
  IFS='|' read -r name freq code scan <<<"$row"
  c="channels/channel[$n]"
  edits+=("$c/name=$name" "$c/rx_freq_ndx=$((freq - 1))" "$c/tx_freq_ndx=$((freq - 1))"
          "$c/rx_code=$code" "$c/tx_code=$code" "$c/in_scanlist=$scan")
done
quiet "$veskctl" set "$work" "${edits[@]}"

# Radio-wide: power-up text, presets on the front desk and security channels.
quiet "$veskctl" set "$work" "setting/powerupString=WELCOME" "setting/preset[1]/channel=0" \
  "setting/preset[2]/channel=1"

mv "$work" "$out"
trap - EXIT
