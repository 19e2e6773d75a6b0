#!/bin/sh
# Draws the installer's icon (setup/setup.ico): the wizard's blue page with
# its dark header band, and a white box receiving a downward arrow.
# Run from this folder after changing the drawing; the .ico is committed.
set -e
out=../setup.ico
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#00A8FF' -stroke white -strokewidth 8 -draw 'roundrectangle 8,8 248,248 28,28' \
  -fill '#0000C0' -stroke white -strokewidth 8 -draw 'roundrectangle 8,8 248,72 28,28' \
  -fill '#0000C0' -stroke none -draw 'rectangle 12,44 244,68' \
  -stroke white -strokewidth 8 -draw 'line 8,72 248,72' \
  -fill '#0096FF' -stroke white -strokewidth 10 -draw 'rectangle 56,150 200,222' \
  -fill white -stroke none -draw 'rectangle 108,86 148,150' \
  -draw 'polygon 80,146 176,146 128,196' \
  "$tmp/icon.png"
for s in 16 24 32 48 64; do convert "$tmp/icon.png" -resize ${s}x${s} "$tmp/$s.png"; done
convert "$tmp/16.png" "$tmp/24.png" "$tmp/32.png" "$tmp/48.png" "$tmp/64.png" "$tmp/icon.png" "$out"
