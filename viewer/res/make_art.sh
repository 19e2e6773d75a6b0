#!/bin/sh
# Draws the viewer's logo (logo.bmp, 180 x 146, on the header band's blue)
# and its program icon (table.ico, 16/32/48). Both are committed; run this
# again only to change them. Needs ImageMagick's convert.
set -eu
cd "$(dirname "$0")"

BLUE='#4B83C0'
GREEN='#2FA84F'
DARK='#1C3A5E'

# An atom: three white orbits round a white nucleus, in a green disc with a
# dark arc along its lower right edge; short strokes on either side suggest
# motion. Drawn at twice the size and scaled down for smooth edges.
atom() {
  size=$1; shift
  convert -size "${size}" "xc:${BLUE}" "$@"
}

atom 360x292 \
  -fill "$GREEN" -stroke none -draw "circle 180,146 180,18" \
  -fill none -stroke "$DARK" -strokewidth 12 -draw "arc 60,26 300,266 10,120" \
  -stroke white -strokewidth 9 \
  -draw "translate 180,146 rotate 0 ellipse 0,0 100,36 0,360" \
  -draw "translate 180,146 rotate 60 ellipse 0,0 100,36 0,360" \
  -draw "translate 180,146 rotate 120 ellipse 0,0 100,36 0,360" \
  -fill white -stroke none -draw "circle 180,146 180,128" \
  -stroke white -strokewidth 8 \
  -draw "line 8,110 40,110" -draw "line 0,146 36,146" -draw "line 8,182 40,182" \
  -draw "line 320,110 352,110" -draw "line 324,146 360,146" -draw "line 320,182 352,182" \
  -resize 180x146 -alpha off -type TrueColor BMP3:logo.bmp

atom 256x256 \
  -fill "$GREEN" -stroke none -draw "circle 128,128 128,6" \
  -fill none -stroke "$DARK" -strokewidth 14 -draw "arc 14,14 242,242 10,120" \
  -stroke white -strokewidth 14 \
  -draw "translate 128,128 rotate 0 ellipse 0,0 100,34 0,360" \
  -draw "translate 128,128 rotate 60 ellipse 0,0 100,34 0,360" \
  -draw "translate 128,128 rotate 120 ellipse 0,0 100,34 0,360" \
  -fill white -stroke none -draw "circle 128,128 128,108" \
  -define icon:auto-resize=48,32,16 table.ico
