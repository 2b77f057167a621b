#!/usr/bin/env bash
# Runs every benchmark: each folder of bench/ with a run.sh, given the build folder.
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(dirname "$(realpath "$0")")
status=0
for script in "$here"/*/run.sh; do
  [ -e "$script" ] || continue
  echo "== $(basename "$(dirname "$script")")"
  bash "$script" "$build" || status=1
done
exit $status
