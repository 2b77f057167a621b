#!/usr/bin/env bash
# Starts the program on the running X display with the given arguments, waits
# for its main window and prints the names of its top-level windows.
# Usage: start_under_xvfb.sh PROGRAM WORKDIR [ARGS...]
set -u
program=$1
cd "$2" || exit 2
shift 2
# The tests run with the offscreen platform; this check wants the display.
QT_QPA_PLATFORM=xcb "$program" "$@" &
pid=$!
names=
for _ in $(seq 1 150); do
  names=$(xwininfo -root -tree 2>/dev/null | grep -o '"Vimo图片批处理[^"]*"')
  [ -n "$names" ] && break
  sleep 0.1
done
echo "$names"
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
