#!/usr/bin/env bash
# Small files whose headers claim far more than their bytes can describe (rows
# that all share one piece of data, run-length codes that end at once, pass
# nearly every pixel over or run far past their row's end, strips that overlap
# so that each reads the same bytes again, arithmetic-coded JPEGs without their
# end marker), and honest files of the same
# formats written by ImageMagick, libtiff, netpbm and cjpeg or made like them (SGI
# files whose identical rows share one copy, TIFF files whose strips do, a
# bitmap sprite on an empty half): each is loaded on its own
# through the registry, with its time and peak memory. A costly file must fail
# or load within 2 s and 300 MB; an honest
# one must load. Reports the figures; fails when one is not met.
set -euo pipefail
build=$(realpath "${1:-build}")
load="$build/bench/hostile/load_picture"
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in convert tiffcp pnmtosgi cjpeg; do
    command -v $tool >/dev/null || { echo "costs: $tool is needed to make the files"; exit 1; }
done
[ -x /usr/bin/time ] || { echo "costs: /usr/bin/time is needed to measure memory"; exit 1; }

mkdir -p "$work/costly" "$work/honest"
h="$work/honest"
python3 "$here/make_costly_files.py" "$work/costly" "$h"
convert -size 1200x900 -seed 3 plasma:fractal "$h/source.ppm"
convert "$h/source.ppm" -colors 200 -compress RLE "bmp3:$h/imagemagick-rle8.bmp"
convert "$h/source.ppm" -colors 12 -compress RLE "bmp3:$h/imagemagick-rle4.bmp"
convert "$h/source.ppm" -compress zip "$h/imagemagick-zip.tif"
tiffcp -c zip:2 -r 16 "$h/imagemagick-zip.tif" "$h/tiffcp-zip-predictor.tif"
tiffcp -c packbits -r 1 "$h/imagemagick-zip.tif" "$h/tiffcp-packbits.tif"
# One-row strips in every layout real writers use: each strip's data end where the next one's begin.
convert "$h/source.ppm" -depth 8 -compress none "$h/rgb8.tif"
tiffcp -B -p separate -c lzw:2 -r 1 "$h/rgb8.tif" "$h/tiffcp-lzw-separate-big-endian.tif"
convert "$h/source.ppm" -depth 16 -compress zip -define tiff:rows-per-strip=1 "$h/imagemagick-16bit-row-strips.tif"
convert "$h/source.ppm" -monochrome "$h/bilevel.tif"
tiffcp -c packbits -r 1 "$h/bilevel.tif" "$h/tiffcp-bilevel-packbits.tif"
convert "$h/source.ppm" -compress RLE "$h/imagemagick-rle.sgi"
pnmtosgi -rle "$h/source.ppm" > "$h/pnmtosgi-rle.sgi" 2>/dev/null
# Flat pictures pack close to the best ratio each scheme allows.
convert -size 6000x6000 xc:white -compress zip "$h/imagemagick-flat-zip.tif"
tiffcp -c zip -r 6000 "$h/imagemagick-flat-zip.tif" "$h/tiffcp-flat-one-strip.tif"
convert -size 6000x6000 xc:white -compress RLE "$h/imagemagick-flat-rle.sgi"
convert -size 6000x6000 xc:white -type Palette -compress RLE "bmp3:$h/imagemagick-flat-rle8.bmp"
# A mostly white picture in strips of 16 rows, its identical strips pointed at one copy.
convert -size 300x1000 xc:white -fill '#204080' -draw 'circle 150,500 150,510' -alpha off -type TrueColor \
    -depth 8 -compress none "$h/white.tif"
tiffcp -r 16 -c zip "$h/white.tif" "$h/white-zip.tif"
python3 "$here/point_strips_at_copies.py" "$h/white-zip.tif" "$h/tiffcp-white-strips-on-one-copy.tif"

# JPEG files are placed in a document in each picture mode (0 none, 1 zlib,
# 2 JPEG, which passes them through undecoded); the others are loaded
# through the registry.
printf '%-52s %9s %8s %8s  %s\n' file bytes seconds "peak MB" result
status=0
measure() {
    local file=$1 mode=$2 label
    label=$(basename "$file")${mode:+ (mode $mode)}
    set +e
    /usr/bin/time -f '%e %M' -o "$work/time.txt" "$load" ${mode:+--place "$mode"} "$file" > "$work/out.txt" 2>&1
    set -e
    read -r seconds peak < <(tail -1 "$work/time.txt")
    result=$(head -1 "$work/out.txt")
    result=${result//"$work/"/}
    printf '%-52s %9d %8.2f %8.1f  %s\n' "$label" "$(stat -c %s "$file")" "$seconds" \
        "$(echo "$peak / 1024" | bc -l)" "$result"
    case "$file" in
    "$work"/costly/*)
        if [ "$(echo "$seconds >= 2" | bc)" = 1 ] || [ "$peak" -ge $((300 * 1024)) ]; then
            echo "costs: $label took 2 s or 300 MB or more"; status=1
        fi ;;
    *)
        [[ "$result" == loaded* || "$result" == placed ]] || { echo "costs: honest $label did not load"; status=1; } ;;
    esac
}
for file in "$work"/costly/* "$h"/imagemagick-* "$h"/tiffcp-* "$h"/pnmtosgi-* "$h"/bmp-* "$h"/sgi-* "$h"/tiff-* \
    "$h"/jpeg-*; do
    case "$file" in
    *.jpg) for mode in 0 1 2; do measure "$file" $mode; done ;;
    *) measure "$file" "" ;;
    esac
done
exit $status
