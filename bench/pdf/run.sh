#!/usr/bin/env bash
# A document of 100 JPEG pictures (passed through), a caption each, written by
# libPDF and, on the same files in the same run, by img2pdf. Goal: libPDF no
# slower than img2pdf. Prints both times (best of three) and the ratio.
set -euo pipefail
build=$(realpath "${1:-build}")
book="$build/bench/pdf/pdfbook"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=${PDF_BENCH_PICTURES:-100}

command -v convert >/dev/null || { echo "pdf: ImageMagick is needed to make the inputs"; exit 1; }
# Distinct 2000 x 1500 photos of about 0.5 MB each.
convert -size 2000x1500 gradient:'#d06030'-'#3050a0' -seed 1 -attenuate 0.3 +noise Gaussian \
        -quality 85 "$work/base.jpg"
pictures=()
for i in $(seq 1 "$count"); do
  name=$(printf '%s/photo%03d.jpg' "$work" "$i")
  convert "$work/base.jpg" -fill white -draw "rectangle $((i * 15)),40 $((i * 15 + 60)),100" -quality 85 "$name"
  pictures+=("$name")
done

best() {  # the best of three runs of the command, in seconds
  local best="" start end t
  for _ in 1 2 3; do
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  echo "$best"
}

mode=$("$book" "$work/ours.pdf" "${pictures[@]}" | awk '{print $2}')
ours=$(best "$book" "$work/ours.pdf" "${pictures[@]}")
size_ours=$(stat -c %s "$work/ours.pdf")
echo "libPDF   : $count pictures ($mode) in $ours s, $size_ours bytes"
if command -v img2pdf >/dev/null; then
  theirs=$(best img2pdf -o "$work/theirs.pdf" "${pictures[@]}")
  size_theirs=$(stat -c %s "$work/theirs.pdf")
  echo "img2pdf  : $count pictures in $theirs s, $size_theirs bytes"
  echo "ratio    : libPDF / img2pdf = $(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')"
else
  echo "img2pdf is not installed: no comparison"
fi

echo "-- DrawText of long texts (linear layout: twice the characters, about twice the time)"
FONTCONFIG_FILE="$(dirname "$(realpath "$0")")/../../tests/support/fonts.conf" "$build/bench/pdf/longtext" 80000

echo "-- Bookmarks: 100,000 each one level deeper, and 100,000 at one level (goal: well under a second each)"
"$build/bench/pdf/bookmarks" 100000

# The peak memory of books of big pictures, one pass and counted: bench/pagecount.
