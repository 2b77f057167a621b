#!/usr/bin/env bash
# Values far beyond what the panel lets a user type, as a hand-edited
# settings or job file can hold them: one whole run of one picture per value.
# Meant for the sanitizer build (make sanitize, or cmake -DVIMO_SANITIZE=ON),
# where an overflowing conversion ends the run with a report. Every run must
# end on its own (exit 0, or 1 when the picture failed and was logged),
# never with a sanitizer report or a signal.
#   bench/render/extremes.sh [BUILD]      (default: build-asan)
set -uo pipefail
build=$(realpath "${1:-build-asan}")
render="$build/bench/render/render"
[ -x "$render" ] || { echo "extremes: $render is missing; build the render target first"; exit 2; }
command -v convert >/dev/null || { echo "extremes: ImageMagick is needed to make the inputs"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

convert -size 300x500 gradient:'#d06030'-'#3050a0' "$work/tall.png"
convert -size 40x20 xc:'#203080' "$work/mark.png"

# name|key=value
cases=(
  "start point x 1e30, padded|sngXp=1e30"
  "start point x -1e30, padded|sngXp=-1e30"
  "start point y 1e30, cropped|sngYp=1e30
bPicJQ=1"
  "start point 1e30, source size|sngXp=1e30
sngYp=1e30
iSizeMode=2"
  "watermark scale 1e30|sngSyScale=1e30"
  "watermark scale 1e-30|sngSyScale=1e-30"
  "watermark position 1e30|iuISyX=1e30
iuISyY=-1e30"
  "text position 1e30|iuTSyX=1e30
iuTSyY=-1e30"
  "counter digits 99999999999999|txtNum=99999999999999"
  "width of forty nines|txtW=9999999999999999999999999999999999999999"
  "width of minus forty nines|txtW=-9999999999999999999999999999999999999999"
  "start point beyond a float|sngXp=1e40"
)

failures=0
printf '%-34s %-5s %s\n' "case" "exit" "logged"
for entry in "${cases[@]}"; do
  name=${entry%%|*}
  extra=${entry#*|}
  dir="$work/$(echo "$name" | tr -c 'a-z0-9' '_')"
  mkdir -p "$dir"
  cat > "$dir/job.ini" <<INI
[Job]
iSizeMode=3
bPicJQ=0
txtW=400
txtH=300
cmbSizeCount=5
sSyFile=$work/mark.png
sngSyScale=1
chkInfoImg=1
cmbPosImg=5
iuISyX=0.5
iuISyY=0.5
sText=X
iSize=12
chkInfoTxt=1
cmbPos=5
iuTSyX=0.5
iuTSyY=0.5
sOutFormat=jpg
chkRM=1
txtNum=4
bSaveErr=1
$extra
INI
  "$render" --job "$dir/job.ini" --out "$dir/out" "$work/tall.png" >"$dir/stdout" 2>"$dir/stderr"
  code=$?
  logged=$(sed -n 2p "$dir/out/ErrorLog.txt" 2>/dev/null | tr -d '\r' | sed "s|$work/||")
  [ -n "$logged" ] || logged="(nothing; wrote $(ls "$dir/out" | grep -v ErrorLog | tr '\n' ' '))"
  if grep -q -e 'runtime error' -e 'AddressSanitizer' "$dir/stderr" || [ $code -gt 1 ]; then
    failures=$((failures + 1))
    printf '%-34s %-5s FAILED\n' "$name" "$code"
    grep -m 3 -e 'runtime error' -e 'ERROR' "$dir/stderr" | sed 's/^/    /'
  else
    printf '%-34s %-5s %s\n' "$name" "$code" "$logged"
  fi
done
echo "extreme values: $failures of ${#cases[@]} runs ended with a sanitizer report or a crash"
[ $failures -eq 0 ]
