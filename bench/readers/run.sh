#!/usr/bin/env bash
# Crafted files that claim far more than they hold, byte counts that run to the
# end of the file, rows that share their data, a palette file of a gigabyte and
# a progressive JPEG of thousands of scans: every reader's time and peak memory.
# Then a large honest file: a 10000 x 10000 RLE8 bitmap of ImageMagick's codes
# (141 MB of them), loaded READERS_BENCH_RUNS times (default 7): the median of
# the later loads is the cost of walking its codes.
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(dirname "$(realpath "$0")")
command -v convert >/dev/null || { echo "readers: ImageMagick is needed to make the JPEG and the bitmaps"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/readers/readers" "$work"

# ImageMagick's pixel cache holds a band of 10000 x 1000, not the whole picture:
# the band's codes are stacked ten times.
convert -size 1000x1000 -seed 3 plasma:fractal -depth 8 -colors 200 "$work/tile.png"
convert -size 10000x1000 "tile:$work/tile.png" -type Palette -compress RLE "bmp3:$work/band.bmp"
python3 "$here/stack_bitmap_bands.py" "$work/band.bmp" 10 "$work/rle8.bmp"
echo "rle8-10000x10000.bmp: $(( $(stat -c %s "$work/rle8.bmp") / 1000000 )) MB"
"$build/bench/readers/load_times" "$work/rle8.bmp" "${READERS_BENCH_RUNS:-7}"
