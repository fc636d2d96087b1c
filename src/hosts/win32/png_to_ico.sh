#!/bin/sh
# Wraps a 256x256 PNG into an icon file (ICO with one PNG image, which
# Windows Vista and later read): png_to_ico.sh IN.png OUT.ico
set -e
size=$(wc -c < "$1")
le32() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $(($1 >> 8 & 255)))\\$(printf %03o $(($1 >> 16 & 255)))\\$(printf %03o $(($1 >> 24 & 255)))"; }
{
    printf '\000\000\001\000\001\000'          # reserved, type 1 (icon), one image
    printf '\000\000\000\000\001\000\040\000'  # 256x256 (as 0), no palette, 1 plane, 32 bits
    le32 "$size"                               # bytes of the image
    le32 22                                    # where it starts: after this directory
    cat "$1"
} > "$2.part"
mv "$2.part" "$2"
