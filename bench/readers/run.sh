#!/usr/bin/env bash
# Crafted files that claim far more than they hold, byte counts that run to the
# end of the file, rows that share their data, a palette file of a gigabyte and
# a progressive JPEG of thousands of scans: every reader's time and peak memory.
# Then large honest files: a 10000 x 10000 run-length bitmap (RLE8 and RLE4) of
# ImageMagick's codes, loaded READERS_BENCH_RUNS times (default 7): the median
# is the cost of walking its codes.
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(dirname "$(realpath "$0")")
command -v convert >/dev/null || { echo "readers: ImageMagick is needed to make the JPEG and the bitmaps"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/readers/readers" "$work"

convert -size 1000x1000 -seed 3 plasma:fractal "$work/plasma.ppm"
for kind in "rle8 200" "rle4 12"; do
    set -- $kind
    convert "$work/plasma.ppm" -colors "$2" "$work/tile.png"
    convert -size 10000x1000 "tile:$work/tile.png" -type Palette -compress RLE "bmp3:$work/band.bmp"
    python3 "$here/stack_bitmap_bands.py" "$work/band.bmp" 10 "$work/$1.bmp"
    echo "$1-10000x10000.bmp: $(( $(stat -c %s "$work/$1.bmp") / 1000000 )) MB"
    "$build/bench/readers/load_times" "$work/$1.bmp" "${READERS_BENCH_RUNS:-7}"
    rm -f "$work/$1.bmp"
done
