#!/usr/bin/env bash
# Runs a fuzz target once on every file of its corpus folders, in name order:
# the same inputs every time, so the result does not depend on chance or on
# the machine's load. Any crash, leak, timeout or sanitizer report fails.
# Arguments: fuzz target, corpus folder...
set -euo pipefail
fuzzer=$1
shift
[ -x "$fuzzer" ] || { echo "replay_corpus: $fuzzer is not built" >&2; exit 1; }
mapfile -t inputs < <(find "$@" -type f | LC_ALL=C sort)
[ ${#inputs[@]} -gt 0 ] || { echo "replay_corpus: no input in $*" >&2; exit 1; }
# Given files rather than folders, libFuzzer runs each once and does not fuzz.
exec "$fuzzer" -timeout=30 -rss_limit_mb=2048 -malloc_limit_mb=256 "${inputs[@]}"
