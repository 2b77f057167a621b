#!/usr/bin/env bash
# The typical job on 6000 x 4000 JPEG sources: width limit 800, a PNG border,
# the text watermark "#当前日期#" and a picture watermark at 80 % opacity.
# Times the pipeline alone and the whole run with saving, over 2 pictures and
# over the whole job with one render thread and with the run's own number
# (the outputs must be byte-identical, memory must stay flat), the plain
# resizes of vipsthumbnail and ImageMagick on the same inputs (render
# --compare), the moire left by reducing a zone plate (render --zone-plate),
# eight gigapixel-sized PNGs under the memory budget, a progressive-JPEG bomb,
# small arithmetic-coded JPEGs claiming the format's largest size, and a folder of small photos and large scans mixed against the same files
# grouped (mixed.sh).
set -euo pipefail
build=$(realpath "${1:-build}")
render="$build/bench/render/render"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=${RENDER_BENCH_PICTURES:-40}

command -v convert >/dev/null || { echo "render: ImageMagick is needed to make the inputs"; exit 1; }
# Distinct photo-like pictures: a fractal landscape with sensor noise, each
# input shifted, tinted and lit differently, so no two decode alike.
convert -size 1500x1000 -seed 7 plasma:fractal -blur 0x1 -resize 6000x4000! \
        -attenuate 0.3 +noise Gaussian "$work/base.mpc"
seq 0 $((count - 1)) | xargs -P 4 -I{} sh -c \
    'i={}; convert "$0/base.mpc" -roll +$((i * 977 % 6000))+$((i * 613 % 4000)) \
         -modulate $((85 + i % 30)),$((70 + i * 7 % 60)),$((i * 37 % 200)) -quality 90 "$0/src$i.jpg"' "$work"
rm -f "$work/base.mpc" "$work/base.cache"
convert -size 800x600 xc:none -fill none -stroke '#c0a040' -strokewidth 24 \
        -draw 'rectangle 12,12 787,587' "$work/border.png"
convert -size 240x90 xc:'#ffffff' -fill '#203080' -draw 'circle 45,45 45,10' "$work/mark.png"

cat > "$work/job.ini" <<INI
[Job]
iSizeMode=0
txtW=800
txtH=600
sBkFile=$work/border.png
sText=#当前日期#
sFont=Arial
iSize=24
lColor=255
chkInfoTxt=1
cmbPos=0
sSyFile=$work/mark.png
iuSYAlpha=80
chkInfoImg=1
cmbPosImg=2
sOutFormat=jpg
iJPGQ=85
sPrefix=Vimo_
chkRM=1
txtNum=4
bSaveErr=1
INI

inputs=()
for i in $(seq 0 $((count - 1))); do inputs+=("$work/src$i.jpg"); done

echo "-- pipeline only (PNG out), 2 pictures"
"$render" --job "$work/job.ini" --out "$work/r2" --render-only "${inputs[@]:0:2}"
echo "-- whole run with saving, 2 pictures"
"$render" --job "$work/job.ini" --out "$work/o2" "${inputs[@]:0:2}"
echo "-- whole run with saving, $count pictures, one worker, against vipsthumbnail and convert on the first 20"
one=$("$render" --job "$work/job.ini" --out "$work/one" --workers 1 --compare 20 "${inputs[@]}")
echo "$one"
echo "-- whole run with saving, $count pictures, the run's own number of workers"
many=$("$render" --job "$work/job.ini" --out "$work/many" "${inputs[@]}")
echo "$many"
seconds() { sed -n 's/^workers .* failed [0-9]*  seconds \([0-9.]*\) .*/\1/p' <<<"$1" | head -1; }
cpu() { sed -n 's/.* cpu seconds \([0-9.]*\) .*/\1/p' <<<"$1" | head -1; }
awk -v a="$(seconds "$one")" -v b="$(seconds "$many")" -v c="$(cpu "$one")" -v d="$(cpu "$many")" \
    'BEGIN { printf "many workers / one worker: wall time %.3f (goal: at most 0.25 on 8 cores), CPU time %.3f\n", b / a, d / c }'
if diff -r -q "$work/one" "$work/many" >/dev/null; then
  echo "outputs of one and many workers: byte-identical ($(ls "$work/one" | wc -l) files)"
else
  echo "outputs of one and many workers DIFFER:"; diff -r -q "$work/one" "$work/many" || true
fi

echo "-- zone plate"
"$render" --zone-plate "$work/zone"

# Eight pictures of about half a gigapixel each (23000 x 23000 PNGs by
# default; GIGA_SIDE makes them smaller), with the run's own number of
# workers: each is decoded whole (about 2 GB), so the pictures in flight are
# held by the memory budget and the peak stays within it.
side=${GIGA_SIDE:-23000}
if command -v pamgradient >/dev/null && command -v pnmtopng >/dev/null; then
  pamgradient red green blue yellow "$side" "$side" | pamdepth 255 | pnmtopng -compression 1 > "$work/giga0.png"
  giga=("$work/giga0.png")
  for i in 1 2 3 4 5 6 7; do cp "$work/giga0.png" "$work/giga$i.png"; giga+=("$work/giga$i.png"); done
  budget=$(awk '/^MemAvailable:/ {printf "%d", $2 / 2 / 1024}' /proc/meminfo)
  echo "-- whole run with saving, eight $side x $side PNGs, memory budget $budget MB"
  "$render" --job "$work/job.ini" --out "$work/giga" "${giga[@]}"
  rm -f "${giga[@]}"
else
  echo "-- netpbm is needed for the gigapixel PNGs"
fi

# A progressive JPEG of a few tens of kilobytes whose last scan is repeated
# thousands of times: each scan would make the decoder walk the picture again.
convert -size 2048x2048 xc:gray -interlace Plane "$work/flat.jpg"
python3 - "$work/flat.jpg" "$work/bomb.jpg" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
end = data.rfind(b'\xff\xd9')
last = data.rfind(b'\xff\xda', 0, end)
scan, out = data[last:end], data[:end]
while len(out) + len(scan) < 300000:
    out += scan
open(sys.argv[2], 'wb').write(out + b'\xff\xd9')
PY
scans=$(python3 -c "import sys; print(open(sys.argv[1], 'rb').read().count(b'\\xff\\xda'))" "$work/bomb.jpg")
echo "-- whole run with saving, the progressive-JPEG bomb ($(stat -c %s "$work/bomb.jpg") bytes, $scans scans)"
"$render" --job "$work/job.ini" --out "$work/bomb" "$work/bomb.jpg" || true
cat "$work/bomb"/ErrorLog*.txt 2>/dev/null | tr -d '\r' || true

# 200 bytes of a flat arithmetic-coded grey picture claiming 65500 x 65500,
# with and without its end marker (bench/hostile/make_costly_files.py): each
# is logged from its header and markers, as cut or too large, undecoded.
mkdir -p "$work/costly" "$work/honest"
python3 "$(dirname "$(realpath "$0")")/../hostile/make_costly_files.py" "$work/costly" "$work/honest" >/dev/null
for ending in open closed; do
  file="$work/costly/jpeg-arithmetic-progressive-65500-$ending.jpg"
  echo "-- whole run with saving, $(basename "$file") ($(stat -c %s "$file") bytes)"
  (ulimit -v 16000000; timeout 120 /usr/bin/time -f "%e s, peak %M KB" "$render" --job "$work/job.ini" \
      --out "$work/arithmetic-$ending" "$file") || true
  cat "$work/arithmetic-$ending"/ErrorLog*.txt 2>/dev/null | tr -d '\r' || true
done

echo "-- a mixed folder against the same files grouped"
bash "$(dirname "$(realpath "$0")")/mixed.sh" "$build"
