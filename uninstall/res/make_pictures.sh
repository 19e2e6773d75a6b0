#!/bin/sh
# Draws the uninstaller's pictures with ImageMagick: the waste bin shown in
# the window (173 x 160, on the window's own blue) and the program icon.
# Run from this folder; the results are committed beside it.
set -e

convert -size 173x160 xc:'rgb(0,167,255)' \
  -fill 'rgb(0,120,200)' -stroke none -draw "ellipse 86,148 58,9 0,360" \
  -fill 'rgb(236,240,244)' -stroke 'rgb(40,60,90)' -strokewidth 2 \
    -draw "polygon 38,40 135,40 124,146 49,146" \
  -fill 'rgb(200,208,218)' -stroke none -draw "polygon 110,42 133,42 122,144 104,144" \
  -stroke 'rgb(120,135,155)' -strokewidth 3 \
    -draw "line 60,54 65,136" -draw "line 86,54 86,136" -draw "line 112,54 107,136" \
  -fill 'rgb(250,250,250)' -stroke 'rgb(40,60,90)' -strokewidth 2 \
    -draw "roundrectangle 28,28 145,42 4,4" \
    -draw "roundrectangle 72,17 101,29 4,4" \
  -fill 'rgb(255,255,255)' -stroke 'rgb(0,0,64)' -strokewidth 2 \
    -draw "polygon 50,26 60,6 76,12 72,22 58,30" \
    -draw "polygon 104,24 116,4 130,14 122,27" \
  -fill 'rgb(0,0,192)' -stroke none -font DejaVu-Sans-Bold -pointsize 11 \
    -draw "text 58,24 'Zr'" \
  -type TrueColor BMP3:bin.bmp

icon() {
  s=$1
  convert -size ${s}x${s} xc:none \
    -fill 'rgb(0,0,192)' -stroke white -strokewidth 1 \
      -draw "roundrectangle 0,0 $((s-1)),$((s-1)) $((s/6)),$((s/6))" \
    -fill 'rgb(236,240,244)' -stroke 'rgb(0,0,64)' \
      -draw "polygon $((s*5/16)),$((s*3/8)) $((s*11/16)),$((s*3/8)) $((s*5/8)),$((s*7/8)) $((s*3/8)),$((s*7/8))" \
      -draw "rectangle $((s/4)),$((s/4)) $((s*3/4)),$((s*3/8))" \
    -stroke 'rgb(0,168,255)' -draw "line $((s/2)),$((s*7/16)) $((s/2)),$((s*13/16))" \
    gorvix-$s.png
}
icon 16; icon 32; icon 48
convert gorvix-16.png gorvix-32.png gorvix-48.png gorvix.ico
rm -f gorvix-16.png gorvix-32.png gorvix-48.png
