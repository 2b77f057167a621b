#!/usr/bin/env bash
# A short, bounded fuzzing run: seeds from the data folder, a few seconds, a
# memory cap; any crash, leak, timeout or sanitizer report fails the test.
set -euo pipefail
fuzzer=$1
seeds=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$seeds"/. "$work"/ 2>/dev/null || true
"$fuzzer" -max_total_time=5 -timeout=5 -rss_limit_mb=2048 -malloc_limit_mb=256 -print_final_stats=1 "$work"
