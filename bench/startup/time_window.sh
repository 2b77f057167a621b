#!/usr/bin/env bash
# Runs on an X display: starts PROGRAM with PICTURE and prints the seconds
# until its window shows the picture: the window is mapped with the path in
# its title, and the middle of its preview area is no longer one flat colour.
# Gives up after 300 s (prints "timeout").
#   time_window.sh PROGRAM PICTURE
set -u
program=$1
picture=$2
start=$(date +%s.%N)
QT_QPA_PLATFORM=xcb "$program" "$picture" >/dev/null 2>&1 &
pid=$!
elapsed() { awk -v s="$start" -v n="$(date +%s.%N)" 'BEGIN { printf "%.2f", n - s }'; }
finish() { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; echo "$1"; exit 0; }
window=
while [ -z "$window" ]; do
  window=$(xwininfo -root -tree 2>/dev/null | grep -F -- "- $picture\"" | awk '{print $1}' | head -1)
  kill -0 "$pid" 2>/dev/null || finish "exited"
  awk -v e="$(elapsed)" 'BEGIN { exit !(e > 300) }' && finish "timeout"
  [ -n "$window" ] || sleep 0.05
done
# The preview area's middle, in the window's designed layout: a 100 x 100
# square that the picture covers and nothing else draws on.
while :; do
  spread=$(import -window "$window" -crop 100x100+480+330 +repage -colorspace gray \
                  -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
  awk -v s="$spread" 'BEGIN { exit !(s > 0.005) }' && finish "$(elapsed)"
  kill -0 "$pid" 2>/dev/null || finish "exited"
  awk -v e="$(elapsed)" 'BEGIN { exit !(e > 300) }' && finish "timeout"
  sleep 0.05
done
