#!/usr/bin/env bash
# Fuzzes one target for FUZZ_SECONDS (60 by default), starting from its corpus
# and from what earlier runs on this build found interesting. A fault leaves
# its input in <work corpus>/faults: once fixed, add that file to the target's
# seeds folder so that the suite replays it from then on.
# Arguments: fuzz target, work corpus folder, corpus folder...
set -euo pipefail
fuzzer=$1
work=$2
shift 2
seconds=${FUZZ_SECONDS:-60}
mkdir -p "$work/faults"
# New inputs go to the first folder only: the seeds in the source tree stay as they are.
if ! "$fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -malloc_limit_mb=256 \
        -print_final_stats=1 -artifact_prefix="$work/faults/" "$work" "$@"; then
    echo "$(basename "$fuzzer") found a fault; its input is in $work/faults" >&2
    exit 1
fi
