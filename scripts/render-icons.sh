#!/usr/bin/env bash
# Renders the program's icon from its SVG source into the PNG sizes that are
# installed and built in. The 16 and 32 pixel images are held to the sixteen
# basic colours, as the frame's icon has always been. Needs rsvg-convert
# (librsvg2-bin) and ImageMagick; the PNGs are kept in git, so a build needs
# neither.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
svg=org.quillary.Quillary.svg
palette=$(mktemp --suffix=.png)
trap 'rm -f "$palette"' EXIT
convert -size 16x1 xc:none \
    -fill '#000000' -draw 'point 0,0'  -fill '#800000' -draw 'point 1,0' \
    -fill '#008000' -draw 'point 2,0'  -fill '#808000' -draw 'point 3,0' \
    -fill '#000080' -draw 'point 4,0'  -fill '#800080' -draw 'point 5,0' \
    -fill '#008080' -draw 'point 6,0'  -fill '#c0c0c0' -draw 'point 7,0' \
    -fill '#808080' -draw 'point 8,0'  -fill '#ff0000' -draw 'point 9,0' \
    -fill '#00ff00' -draw 'point 10,0' -fill '#ffff00' -draw 'point 11,0' \
    -fill '#0000ff' -draw 'point 12,0' -fill '#ff00ff' -draw 'point 13,0' \
    -fill '#00ffff' -draw 'point 14,0' -fill '#ffffff' -draw 'point 15,0' \
    "$palette"
for size in 16 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    out="hicolor/${size}x${size}/apps/org.quillary.Quillary.png"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$out"
    if [ "$size" -le 32 ]; then
        # Transparency stays on or off per pixel; colours snap to the palette.
        convert "$out" -channel A -threshold 50% +channel \
            +dither -remap "$palette" -strip "PNG32:$out"
    else
        convert "$out" -strip "PNG32:$out"
    fi
done
echo "rendered into $(pwd)/hicolor"
