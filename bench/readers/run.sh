#!/usr/bin/env bash
# Crafted files that claim far more than they hold, byte counts that run to the
# end of the file, rows that share their data, a palette file of a gigabyte and
# a progressive JPEG of thousands of scans: every reader's time and peak memory.
set -euo pipefail
build=$(realpath "${1:-build}")
command -v convert >/dev/null || { echo "readers: ImageMagick is needed to make the progressive JPEG"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/readers/readers" "$work"
