#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick. The results are committed: a build never runs this.
# Bitmaps are 24 bits per pixel, uncompressed.
set -euo pipefail
cd "$(dirname "$0")"
magick=/usr/bin/convert
mkdir -p bitmaps icons

# Application icon: a dark rounded tile with a light disk stack, at 32 and 16 pixels.
for size in 32 16; do
  "$magick" -size ${size}x${size} xc:none \
    -fill '#1f3a5a' -draw "roundrectangle 0,0 $((size-1)),$((size-1)) $((size/5)),$((size/5))" \
    -fill '#d8e4f0' -draw "rectangle $((size/4)),$((size/4)) $((size*3/4)),$((size*3/8))" \
    -fill '#d8e4f0' -draw "rectangle $((size/4)),$((size*7/16)) $((size*3/4)),$((size*9/16))" \
    -fill '#7fc241' -draw "rectangle $((size/4)),$((size*5/8)) $((size*3/4)),$((size*3/4))" \
    "icons/icon-$size.png"
done
"$magick" icons/icon-32.png icons/icon-16.png icons/quorvel.ico
rm icons/icon-32.png icons/icon-16.png

# Main background (placeholder until the full art): light grey body, dark title strip and bottom band.
"$magick" -size 430x599 xc:'#d9dde2' \
  -fill '#23364d' -draw 'rectangle 0,0 429,54' \
  -fill '#23364d' -draw 'rectangle 0,560 429,598' \
  -type TrueColor BMP3:bitmaps/main_background.bmp
