#!/usr/bin/env bash
# Uploads to a local pyftpdlib server (tests/support/ftp_server.py). The
# limits watch what the server took, at a cost that must not show: ten puts
# of 40 MB to a server that takes all it gets, best of three. With SLOW=1,
# also the cases the limits are for, with the program's own limits (minutes):
# a 1.3 MB result at 8 KB/s (goal: whole, in about 160 s), three of 600 KB to
# a server that stops reading after 100 KB (goal: about 65 s in all: 40 s and
# what it may hold unread at 4 KB/s) and to one that never answers the data
# (goal: about 120 s in all). Then each a
# 1.3 MB file and two of 20 KB, printing what the server kept: a server that
# answers the password with 202, taking 64 KB/s (goal: all whole, about 20 s);
# one with a 4 MB receive buffer reading 8 KB/s (goal: all whole, about 160 s);
# one taking 8 KB/s where the system cannot tell what the connection holds
# (goal: all whole, about 160 s); an account that refuses SIZE (goal: all
# whole, status 0); one that refuses SIZE and keeps only 100 KB of the big file
# (goal: status 3 for it, 0 for the others). Then the last word and the full
# buffers: three of 300 KB to a server that never answers QUIT (goal: all
# whole, status 0, about 15 s in all); three of 600 KB to one that stops
# reading after 100 KB and then answers nothing, QUIT neither (goal: status 4,
# then 4 at once, about 70 s in all); three of 300 KB to an account that
# refuses SIZE and hangs up after its 226 (goal: all whole, status 0, at once);
# a 4.36 MB file and one of 20 KB to a server reading 8 KB/s behind a 1 MB
# buffer (goal: both whole, status 0, about 9 minutes). ONLY="name..." runs
# only those of these cases: slow, stop-reading, no-final-answer, login-202,
# big-buffer, unknown, no-size, cut, no-quit, silent, hang-up, full-buffer.
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

# Whether case $1 runs: every one with SLOW=1, else those ONLY names.
want() {
  if [ -n "${ONLY:-}" ]; then [[ " $ONLY " == *" $1 "* ]]; else [ "${SLOW:-0}" = 1 ]; fi
}

kept() {
  echo "kept: $(cd "$work/served" && for f in put*; do printf '%s=%s B ' "$f" "$(stat -c %s "$f")"; done)"
}

if [ -z "${ONLY:-}" ]; then
head -c 40000000 /dev/urandom > "$work/40m.bin"
serve keep
best=""
for _ in 1 2 3; do
  t=$("$tool" "127.0.0.1:$port" u p $(for _ in $(seq 1 10); do echo "$work/40m.bin"; done) | sed -n 's/^all: \(.*\) s$/\1/p')
  if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
done
echo "10 puts of 40 MB to a local server: $best s"
fi

head -c 1300000 /dev/urandom > "$work/1300k.bin"
head -c 600000 /dev/urandom > "$work/600k.bin"
head -c 307200 /dev/urandom > "$work/300k.bin"
head -c 20000 /dev/urandom > "$work/20k.bin"
head -c 4571791 /dev/urandom > "$work/4360k.bin"
if want slow; then
  serve slow=8192
  echo "-- 1.3 MB to a server taking 8 KB/s"
  "$tool" "127.0.0.1:$port" u p "$work/1300k.bin"
  kept
fi
for mode in stop-reading=102400:stop-reading no-final-answer:no-final-answer \
            stop-reading=102400+no-quit:silent; do
  want "${mode#*:}" || continue
  serve "${mode%:*}"
  echo "-- three of 600 KB to a server: ${mode%:*}"
  "$tool" "127.0.0.1:$port" u p "$work/600k.bin" "$work/600k.bin" "$work/600k.bin"
done
for mode in login-202+slow=65536:login-202 rcvbuf=4194304+slow=8192:big-buffer slow=8192:unknown \
            no-size=550:no-size no-size=502+rcvbuf=4194304+cut=102400:cut; do
  want "${mode#*:}" || continue
  serve "${mode%:*}"
  echo "-- 1.3 MB and two of 20 KB to a server: ${mode%:*}"
  QUEUE_UNKNOWN=$([ "${mode#*:}" = unknown ] && echo 1 || echo 0) \
    "$tool" "127.0.0.1:$port" u p "$work/1300k.bin" "$work/20k.bin" "$work/20k.bin"
  kept
done
for mode in no-quit:no-quit no-size=550+hang-up-after-226:hang-up; do
  want "${mode#*:}" || continue
  serve "${mode%:*}"
  echo "-- three of 300 KB to a server: ${mode%:*}"
  "$tool" "127.0.0.1:$port" u p "$work/300k.bin" "$work/300k.bin" "$work/300k.bin"
  kept
done
if want full-buffer; then
  serve rcvbuf=1048576+slow=8192
  echo "-- 4.36 MB and 20 KB to a server reading 8 KB/s behind a 1 MB buffer"
  "$tool" "127.0.0.1:$port" u p "$work/4360k.bin" "$work/20k.bin"
  kept
fi
