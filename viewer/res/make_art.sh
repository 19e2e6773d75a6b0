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
# dark arc along its lower right edge. Drawn at twice the size and scaled
# down for smooth edges. The arguments: the canvas, the centre, the radii of
# the disc, the arc's box, the widths of the arc and the orbits, an orbit's
# radii, the nucleus's radius; then whatever else convert is to do.
atom() {
  size=$1 cx=$2 cy=$3 disc=$4 arc=$5 arc_width=$6 orbit_width=$7 orbit=$8 nucleus=$9
  shift 9
  convert -size "${size}" "xc:${BLUE}" \
    -fill "$GREEN" -stroke none -draw "circle $cx,$cy $cx,$((cy - disc))" \
    -fill none -stroke "$DARK" -strokewidth "$arc_width" -draw "arc $arc 10,120" \
    -stroke white -strokewidth "$orbit_width" \
    -draw "translate $cx,$cy rotate 0 ellipse 0,0 $orbit 0,360" \
    -draw "translate $cx,$cy rotate 60 ellipse 0,0 $orbit 0,360" \
    -draw "translate $cx,$cy rotate 120 ellipse 0,0 $orbit 0,360" \
    -fill white -stroke none -draw "circle $cx,$cy $cx,$((cy - nucleus))" \
    "$@"
}

# The logo has short strokes on either side that suggest motion.
atom 360x292 180 146 128 "60,26 300,266" 12 9 100,36 18 \
  -stroke white -strokewidth 8 \
  -draw "line 8,110 40,110" -draw "line 0,146 36,146" -draw "line 8,182 40,182" \
  -draw "line 320,110 352,110" -draw "line 324,146 360,146" -draw "line 320,182 352,182" \
  -resize 180x146 -alpha off -type TrueColor BMP3:logo.bmp

atom 256x256 128 128 122 "14,14 242,242" 14 14 100,34 20 \
  -define icon:auto-resize=48,32,16 table.ico
