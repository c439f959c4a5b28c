#!/usr/bin/env bash
# Renders the customer handout's pictures from their SVG sources into the installation's report
# folder as JPEG: the banner and the closing band, the two radios with their numbered callouts,
# and one small callout marker per number for the legend. The JPEG files are checked in (the
# build does not make them); run this after changing a source and commit both.
#
#   report_images.sh [SOURCE_ROOT]
#
# Needs rsvg-convert and ImageMagick's convert.
set -euo pipefail

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
src="$root/src/resources/report_images"
out="$root/install/Report"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# SOURCE WIDTH OUTPUT: rendered at WIDTH pixels, about twice the size the handout prints it, so
# that print stays sharp; 4:2:0 and quality 85 keep each file to a few tens of kilobytes.
render() {
  rsvg-convert --background-color=white -w "$2" "$1" -o "$work/picture.png"
  convert "$work/picture.png" -strip -background white -flatten -sampling-factor 4:2:0 \
    -quality 85 "$out/$3"
}

mkdir -p "$out"
render "$src/handout_header.svg" 1600 HandoutHeader.jpg
render "$src/handout_footer.svg" 1600 HandoutFooter.jpg
render "$src/display.svg" 660 Display.jpg
render "$src/rotary.svg" 660 Rotary.jpg
# The display set uses markers 1 to 10, the rotary set 1 to 11.
for n in $(seq 1 11); do
  sed "s/NUMBER/$n/" "$src/callout.svg" >"$work/callout.svg"
  render "$work/callout.svg" 48 "$n.jpg"
done
