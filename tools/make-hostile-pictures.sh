#!/bin/sh
# Writes small pictures whose headers claim far more than they hold, for the hostile picture
# tests and the memory figures:
#   ztxt-claims-1290MB.png  113 bytes: a 1 x 1 PNG header, then a zTXt chunk that claims
#                           1,290,000,000 bytes and ends after 72 of them
#   text-claims-2046MB.png  814 bytes: a 1 x 1 PNG header, then a tEXt chunk that claims
#                           2,046,820,352 bytes and ends after 773 of them
#   ztxt-in-icon.ico        135 bytes: an icon file whose one image is ztxt-claims-1290MB.png
#   gif-4096.gif            35 bytes: a GIF whose screen and image claim 4096 x 4096 pixels
#                           and whose image data ends at once
# With --large it also writes ramp-4096.png, a real 4096 x 4096 PNG (ImageMagick).
# Usage: make-hostile-pictures.sh [--large] FOLDER
set -eu

large=no
if [ "${1:-}" = --large ]; then
    large=yes
    shift
fi
folder=${1:?usage: make-hostile-pictures.sh [--large] FOLDER}
mkdir -p "$folder"

# The bytes that the printf escapes of $1 stand for.
bytes() {
    # shellcheck disable=SC2059 # the escapes are meant for printf
    printf "$1"
}

# The bytes of a 32-bit big-endian number.
be32() {
    for shift in 24 16 8 0; do
        bytes "\\$(printf %03o $((($1 >> shift) & 255)))"
    done
}

# COUNT bytes of filler.
filler() {
    head -c "$1" /dev/zero | tr '\000' x
}

signature='\211PNG\r\n\032\n'
ihdr_1x1='\000\000\000\015IHDR\000\000\000\001\000\000\000\001\010\002\000\000\000\220\167\123\336'

{
    bytes "$signature$ihdr_1x1"
    be32 1290000000
    printf 'zTXtComment\000\000'
    filler 63
} >"$folder/ztxt-claims-1290MB.png"

{
    bytes "$signature$ihdr_1x1"
    be32 2046820352
    printf 'tEXtComment\000'
    filler 765
} >"$folder/text-claims-2046MB.png"

# One 1 x 1 icon of 32 bits, stored as the 113 bytes of PNG at offset 22.
{
    printf '\000\000\001\000\001\000\001\001\000\000\001\000\040\000\161\000\000\000\026\000\000\000'
    cat "$folder/ztxt-claims-1290MB.png"
} >"$folder/ztxt-in-icon.ico"

# Screen 4096 x 4096 with a two-colour table; one image of 4096 x 4096 whose LZW data is a
# clear code and the end code.
printf 'GIF89a\000\020\000\020\200\000\000\000\000\000\377\377\377' >"$folder/gif-4096.gif"
printf ',\000\000\000\000\000\020\000\020\000\002\002\054\000\000;' >>"$folder/gif-4096.gif"

if [ "$large" = yes ]; then
    convert -size 4096x4096 gradient:red-blue -depth 8 "PNG24:$folder/ramp-4096.png"
fi
