#!/usr/bin/env bash
# Uploads to a local pyftpdlib server (tests/support/ftp_server.py). The
# limits watch what the server took, at a cost that must not show: ten puts
# of 40 MB to a server that takes all it gets, best of three. With SLOW=1,
# also the cases the limits are for, with the program's own limits (minutes):
# a 1.3 MB result at 8 KB/s (goal: whole, in about 160 s), three of 600 KB to
# a server that stops reading after 100 KB (goal: about 40 s in all) and to
# one that never answers the data (goal: about 120 s in all).
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(dirname "$(realpath "$0")")
tool="$build/bench/upload/upload"
server_script="$here/../../tests/support/ftp_server.py"
work=$(mktemp -d)
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

serve() {  # MODE: starts a server in a fresh folder; sets $server and $port
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null || true
  rm -rf "$work/served" "$work/served.stors" "$work/port"
  mkdir "$work/served"
  /usr/bin/python3 "$server_script" "$work/served" u p "$1" "$work/port" &
  server=$!
  for _ in $(seq 1 100); do [ -s "$work/port" ] && break; sleep 0.1; done
  port=$(cat "$work/port")
}

head -c 40000000 /dev/urandom > "$work/40m.bin"
serve keep
best=""
for _ in 1 2 3; do
  t=$("$tool" "127.0.0.1:$port" u p $(for _ in $(seq 1 10); do echo "$work/40m.bin"; done) | sed -n 's/^all: \(.*\) s$/\1/p')
  if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
done
echo "10 puts of 40 MB to a local server: $best s"

[ "${SLOW:-0}" = 1 ] || exit 0
head -c 1300000 /dev/urandom > "$work/1300k.bin"
head -c 600000 /dev/urandom > "$work/600k.bin"
serve slow=8192
echo "-- 1.3 MB to a server taking 8 KB/s"
"$tool" "127.0.0.1:$port" u p "$work/1300k.bin"
echo "kept: $(stat -c %s "$work/served/put0.bin") B"
for mode in stop-reading=102400 no-final-answer; do
  serve "$mode"
  echo "-- three of 600 KB to a server: $mode"
  "$tool" "127.0.0.1:$port" u p "$work/600k.bin" "$work/600k.bin" "$work/600k.bin"
done
