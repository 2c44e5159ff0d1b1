#!/bin/sh
# Draws the launcher's icon (a gold "V" on a deep teal rounded square) at 16, 32 and
# 48 pixels and writes launcher/app/Velmora.ico. Run it again after changing the art.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/../../launcher/app/Velmora.ico}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for size in 16 32 48; do
  r=$((size / 5))
  stroke=$((size / 8 + 1))
  convert -size ${size}x${size} xc:none \
    -fill '#10303E' -stroke '#D8A84E' -strokewidth $((size / 16 + 1)) \
    -draw "roundrectangle 0,0 $((size - 1)),$((size - 1)) $r,$r" \
    -fill none -stroke '#F3D58E' -strokewidth $stroke \
    -draw "stroke-linecap round stroke-linejoin round polyline $((size * 5 / 20)),$((size * 5 / 20)) $((size / 2)),$((size * 15 / 20)) $((size * 15 / 20)),$((size * 5 / 20))" \
    "$work/icon-$size.png"
done
convert "$work/icon-16.png" "$work/icon-32.png" "$work/icon-48.png" "$out"
