#!/usr/bin/env bash
# Uploads to a local pyftpdlib server (tests/support/ftp_server.py). The
# limits watch what the server took, at a cost that must not show: ten puts
# of 40 MB to a server that takes all it gets, best of three. With SLOW=1,
# also the cases the limits are for, with the program's own limits (minutes):
# a 1.3 MB result at 8 KB/s (goal: whole, in about 160 s), three of 600 KB to
# a server that stops reading after 100 KB (goal: about 40 s in all) and to
# one that never answers the data (goal: about 120 s in all). Then each a
# 1.3 MB file and two of 20 KB, printing what the server kept: a server that
# answers the password with 202, taking 64 KB/s (goal: all whole, about 20 s);
# one with a 4 MB receive buffer reading 8 KB/s (goal: all whole, about 160 s);
# one taking 8 KB/s where the system cannot tell what the connection holds
# (goal: all whole, about 160 s); an account that refuses SIZE (goal: all
# whole, status 0); one that refuses SIZE and keeps only 100 KB of the big file
# (goal: status 3 for it, 0 for the others).
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

kept() {
  echo "kept: $(cd "$work/served" && for f in put*; do printf '%s=%s B ' "$f" "$(stat -c %s "$f")"; done)"
}
head -c 20000 /dev/urandom > "$work/20k.bin"
for mode in login-202+slow=65536 rcvbuf=4194304+slow=8192 slow=8192:unknown no-size=550 \
            no-size=502+rcvbuf=4194304+cut=102400; do
  serve "${mode%:unknown}"
  echo "-- 1.3 MB and two of 20 KB to a server: $mode"
  QUEUE_UNKNOWN=$([ "${mode%:unknown}" = "$mode" ] && echo 0 || echo 1) \
    "$tool" "127.0.0.1:$port" u p "$work/1300k.bin" "$work/20k.bin" "$work/20k.bin"
  kept
done
