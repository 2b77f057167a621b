#!/usr/bin/env bash
# The typical job on 6000 x 4000 JPEG sources: width limit 800, a PNG border,
# the text watermark "#当前日期#" and a picture watermark at 80 % opacity.
# Times the pipeline alone and the whole run with saving, over 2 pictures and
# over the whole job with one render thread and with the run's own number
# (the outputs must be byte-identical, memory must stay flat), the plain
# resizes of vipsthumbnail and ImageMagick on the same inputs (render
# --compare), and the moire left by reducing a zone plate (render --zone-plate).
set -euo pipefail
build=$(realpath "${1:-build}")
render="$build/bench/render/render"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=${RENDER_BENCH_PICTURES:-40}

command -v convert >/dev/null || { echo "render: ImageMagick is needed to make the inputs"; exit 1; }
convert -size 6000x4000 gradient:'#d06030'-'#3050a0' -seed 1 -attenuate 0.4 +noise Gaussian \
        -quality 90 "$work/src0.jpg"
for i in $(seq 1 $((count - 1))); do cp "$work/src0.jpg" "$work/src$i.jpg"; done
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
seconds() { sed -n 's/.* seconds \([0-9.]*\) .*/\1/p' <<<"$1" | head -1; }
awk -v a="$(seconds "$one")" -v b="$(seconds "$many")" \
    'BEGIN { printf "many workers / one worker wall time = %.3f (goal: at most 0.25 on 8 cores)\n", b / a }'
if diff -r -q "$work/one" "$work/many" >/dev/null; then
  echo "outputs of one and many workers: byte-identical ($(ls "$work/one" | wc -l) files)"
else
  echo "outputs of one and many workers DIFFER:"; diff -r -q "$work/one" "$work/many" || true
fi

echo "-- zone plate"
"$render" --zone-plate "$work/zone"

# A panorama of 300 megapixels: decoded whole (about 1.2 GB), drawn at the
# job's width; the peak memory line is the figure to watch.
if command -v pamgradient >/dev/null && command -v pnmtopng >/dev/null; then
  pamgradient red green blue yellow 20000 15000 | pamdepth 255 | pnmtopng -compression 1 > "$work/big.png"
  echo "-- whole run with saving, one 20000 x 15000 PNG"
  "$render" --job "$work/job.ini" --out "$work/big" "$work/big.png"
else
  echo "-- netpbm is needed for the 20000 x 15000 PNG"
fi
