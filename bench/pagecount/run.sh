#!/usr/bin/env bash
# A document that prints its own page count is laid out twice: it should
# cost about twice the same document in one pass, at any length (no cost
# that grows faster than the pages). Times 250 and 500 pages, best of three.
set -euo pipefail
build=$(realpath "${1:-build}")
tool="$build/bench/pagecount/pagecount"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

best() {  # the best of three runs, in seconds, as the tool reports them
  local best="" t
  for _ in 1 2 3; do
    t=$("$@")
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  echo "$best"
}

for pages in 250 500; do
  one=$(best "$tool" "$pages" "$work/one.pdf")
  two=$(best "$tool" "$pages" "$work/counted.pdf" --counted)
  echo "$pages pages: one pass $one s, counted $two s, ratio $(awk -v a="$two" -v b="$one" 'BEGIN { printf "%.2f", a / b }') (goal: about 2)"
done

# A counted book of big pictures keeps each encoded picture for its second
# pass on disk, not in memory: its peak memory is that of the one-pass book,
# and the same for 10 and for 100 pictures.
command -v convert >/dev/null || { echo "pagecount: ImageMagick is needed to make the pictures"; exit 1; }
memory="$build/bench/pdf/picturememory"
echo "-- Peak memory of books of 24 MP pictures (goal: counted as one pass; as much for many pictures as for few)"
convert -size 6000x4000 plasma:'#d06030'-'#3050a0' -seed 1 -attenuate 0.2 +noise Gaussian -quality 90 "$work/big.jpg"
big=()
for i in $(seq 1 100); do
  ln -f "$work/big.jpg" "$work/big$i.jpg"   # distinct names: each is a picture of its own
  big+=("$work/big$i.jpg")
done
book() {  # MODE COUNT [--counted]
  "$memory" "$work/book.pdf" "$1" ${3:-} "${big[@]:0:$2}"
}
# JPEG passed through: 10 and 100 pictures; decoded and deflated (about 5 s
# a picture): 2 and 6.
for run in "2 10" "2 100" "1 2" "1 6"; do
  set -- $run
  echo "mode $1, one pass: $(book "$1" "$2")"
  echo "mode $1, counted:  $(book "$1" "$2" --counted)"
done
