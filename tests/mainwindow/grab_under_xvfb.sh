#!/usr/bin/env bash
# Paints the root window of the running X display #ff8040 and runs the given
# program on that display (the tests otherwise use the offscreen platform).
# Start the server with -noreset: otherwise it resets when xsetroot leaves,
# and the root turns black again.
# Usage: grab_under_xvfb.sh PROGRAM [ARGS...]
set -u
xsetroot -solid '#ff8040' || exit 3
QT_QPA_PLATFORM=xcb exec "$@"
