#!/usr/bin/env bash
# A folder as users have them, small photos and large scans mixed: 24 JPEGs of
# 3000 x 2250 with a 5000 x 3750 PNG after every third, drawn 800 wide and
# saved as JPEG by the run's workers (8 unless MIXED_WORKERS says otherwise).
# The same files are run in list order as they come (mixed) and with the PNGs
# last (grouped), in turns, MIXED_ROUNDS times each (default 3); each time is
# printed, then the medians and their ratio. A slow picture must not hold the
# workers behind it while the memory budget has room, and a large scan late in
# the list must not run on alone at the end: the mixed order should cost what
# the grouped one does. The outputs of the two orders must be the same pictures.
#   bench/render/mixed.sh [BUILD]
set -euo pipefail
build=$(realpath "${1:-build}")
render="$build/bench/render/render"
[ -x "$render" ] || { echo "mixed: $render is missing; build the render target first"; exit 2; }
command -v convert >/dev/null || { echo "mixed: ImageMagick is needed to make the inputs"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work}
workers=${MIXED_WORKERS:-8}
rounds=${MIXED_ROUNDS:-3}

# Photo-like inputs: a fractal landscape with sensor noise, each shifted and
# tinted differently so no two decode alike.
convert -size 1000x750 -seed 11 plasma:fractal -blur 0x1 -resize 5000x3750! \
        -attenuate 0.3 +noise Gaussian "$work/base.mpc"
seq 0 31 | xargs -P 8 -I{} sh -c '
    i={}; roll="-roll +$((i * 977 % 5000))+$((i * 613 % 3750)) -modulate $((85 + i % 30)),100,$((i * 37 % 200))"
    if [ $((i % 4)) -eq 3 ]; then
      convert "$0/base.mpc" $roll -depth 8 "$0/p$i.png"
    else
      convert "$0/base.mpc" $roll -resize 3000x2250! -quality 90 "$0/p$i.jpg"
    fi' "$work"
rm -f "$work/base.mpc" "$work/base.cache"

cat > "$work/job.ini" <<INI
[Job]
iSizeMode=0
txtW=800
txtH=600
sOutFormat=jpg
iJPGQ=85
sPrefix=Vimo_
chkRM=0
bSaveErr=1
INI

mixed=() grouped=() pngs=()
for i in $(seq 0 31); do
  if [ $((i % 4)) -eq 3 ]; then mixed+=("$work/p$i.png"); pngs+=("$work/p$i.png")
  else mixed+=("$work/p$i.jpg"); grouped+=("$work/p$i.jpg"); fi
done
grouped+=("${pngs[@]}")

seconds() { sed -n 's/^workers .* failed [0-9]*  seconds \([0-9.]*\) .*/\1/p' <<<"$1" | head -1; }
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "-- 24 JPEGs 3000x2250 and 8 PNGs 5000x3750 to width 800, $workers workers, $rounds rounds; load now: $(cut -d' ' -f1-3 /proc/loadavg)"
mixedTimes="" groupedTimes=""
for round in $(seq 1 "$rounds"); do
  for order in mixed grouped; do
    rm -rf "$work/$order"
    if [ "$order" = mixed ]; then files=("${mixed[@]}"); else files=("${grouped[@]}"); fi
    line=$("$render" --job "$work/job.ini" --out "$work/$order" --workers "$workers" "${files[@]}")
    echo "$order: $line"
    if [ "$order" = mixed ]; then mixedTimes+=" $(seconds "$line")"; else groupedTimes+=" $(seconds "$line")"; fi
  done
done
m=$(median <<<"${mixedTimes# }") g=$(median <<<"${groupedTimes# }")
awk -v m="$m" -v g="$g" 'BEGIN { printf "median seconds: mixed %.3f  grouped %.3f  mixed / grouped %.2f (goal: about 1)\n", m, g, m / g }'
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

# Results are named after their sources, so both orders write the same files.
if diff -r -q "$work/mixed" "$work/grouped" >/dev/null; then
  echo "outputs of the two orders: byte-identical ($(ls "$work/mixed" | wc -l) files)"
else
  echo "outputs of the two orders DIFFER:"; diff -r -q "$work/mixed" "$work/grouped" || true
  exit 1
fi
