#!/usr/bin/env bash
# Draws the start-up picture (bitmap 1002: 288 x 218, 8 bits per pixel with a palette) and
# the program icon 101 (PNGs of 16 to 256 pixels) with ImageMagick 6 and the DejaVu fonts,
# and writes the same icon as a scalable SVG.
#   tools/assets/make_pictures.sh resources
set -euo pipefail
out=${1:?usage: make_pictures.sh <resources folder>}
mkdir -p "$out/bitmap" "$out/icon/101"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# The pyramid seen from the front: the left face red, the right face blue, each split into
# nine triangles by dark grooves, as the puzzle's stickers are. Coordinates for a 256 box.
pyramid_draw() {
    cat <<'DRAW'
fill '#c8322d' stroke none polygon 128,20 30,200 128,236
fill '#2d5fc8' stroke none polygon 128,20 226,200 128,236
stroke '#1a1a1a' stroke-width 5 fill none
polygon 128,20 30,200 128,236 226,200
line 128,20 128,236
line 95,80 128,100   line 161,80 128,100
line 62,140 128,168  line 194,140 128,168
line 95,80 95,218    line 161,80 161,218
line 62,140 62,209   line 194,140 194,209
DRAW
}

# Icon: the pyramid on a transparent ground, drawn at 256 and scaled down.
convert -size 256x256 xc:none -draw "$(pyramid_draw)" -depth 8 "$out/icon/101/256.png"
for size in 128 64 48 32 16; do
    convert "$out/icon/101/256.png" -filter Lanczos -resize ${size}x${size} -depth 8 \
        "$out/icon/101/$size.png"
done

# The same drawing as SVG, for sharp icons at any size and scale.
cat >"$out/icon/101/scalable.svg" <<'SVG'
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <polygon points="128,20 30,200 128,236" fill="#c8322d"/>
  <polygon points="128,20 226,200 128,236" fill="#2d5fc8"/>
  <g fill="none" stroke="#1a1a1a" stroke-width="5">
    <polygon points="128,20 30,200 128,236 226,200"/>
    <path d="M128,20 V236 M95,80 L128,100 M161,80 L128,100 M62,140 L128,168 M194,140 L128,168
             M95,80 V218 M161,80 V218 M62,140 V209 M194,140 V209"/>
  </g>
</svg>
SVG

# Start-up picture: a dusk gradient, the pyramid on the left, the title on the right.
convert -size 288x218 gradient:'#1d2a4a'-'#6a8fb8' \
    \( "$out/icon/101/256.png" -resize 150x150 \) -geometry +14+40 -composite \
    -font "$font" -fill '#f4e6a1' -pointsize 23 -annotate +150+110 'Тетракон' \
    -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -pointsize 10 -fill '#dfe8f2' \
    -annotate +150+134 'головоломка-пирамида' \
    -colors 256 -type Palette -compress None BMP3:"$out/bitmap/1002.bmp"
