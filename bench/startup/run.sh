#!/usr/bin/env bash
# Start-up with one huge picture on the command line: the real program on a
# virtual display (Xvfb), timed from its start until its window shows the
# picture (the window is mapped with the picture's path in its title and its
# preview area holds the picture), against the render benchmark's time for
# the same picture in the same run. Goal: at most 1.5 times the render's.
# Needs no target of its own: it runs the program and the render benchmark.
#   bench/startup/run.sh [BUILD]       STARTUP_SIDE=4096 for a quick look
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(dirname "$(realpath "$0")")
vimo="$build/bin/vimo"
render="$build/bench/render/render"
side=${STARTUP_SIDE:-16384}
for tool in xvfb-run xwininfo import convert pamgradient pnmtopng pamtogif; do
  command -v "$tool" >/dev/null || { echo "startup: $tool is needed"; exit 1; }
done
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$work"' EXIT

# A grey gradient GIF of 255 shades and a four-colour gradient PNG, made here
# and never kept: the window draws both through the same pipeline as a run.
pamgradient black white gray black "$side" "$side" | pamdepth 255 | ppmtopgm | pamtogif 2>/dev/null > "$work/big.gif"
pamgradient red green blue yellow "$side" "$side" | pamdepth 255 | pnmtopng -compression 1 > "$work/big.png"

# The window's own start values: width limit 500, no border, no watermark.
cat > "$work/job.ini" <<INI
[Job]
iSizeMode=0
txtW=500
txtH=600
sOutFormat=jpg
iJPGQ=85
INI

printf '%-10s %12s %12s %8s\n' picture "render s" "window s" ratio
missed=0
for picture in "$work/big.gif" "$work/big.png"; do
  name=$(basename "$picture")
  line=$("$render" --job "$work/job.ini" --out "$work/out-$name" --workers 1 "$picture")
  rendered=$(sed -n 's/.*  seconds \([0-9.]*\) .*/\1/p' <<<"$line")
  # Each start has its own settings and working folders: the start values.
  mkdir -p "$work/home-$name"
  shown=$(HOME="$work/home-$name" XDG_CONFIG_HOME="$work/home-$name/config" VIMO_HOME="$work/home-$name" \
          xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/time_window.sh" "$vimo" "$picture")
  case $shown in
    '' | *[!0-9.]*) printf '%-10s %12s %12s %8s\n' "$name" "$rendered" "${shown:-none}" "-"; missed=1; continue ;;
  esac
  ratio=$(awk -v a="$shown" -v b="$rendered" 'BEGIN { printf "%.2f", a / b }')
  printf '%-10s %12s %12s %8s\n' "$name" "$rendered" "$shown" "$ratio"
  awk -v r="$ratio" 'BEGIN { exit !(r <= 1.5) }' || missed=1
done
if [ $missed -eq 0 ]; then
  echo "goal met: the window shows each picture within 1.5 times the render's time"
else
  echo "goal MISSED: a window took more than 1.5 times the render's time"
fi
