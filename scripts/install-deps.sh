#!/usr/bin/env bash
# Installs the Debian packages a task needs: run (build and run Vimo and its
# library), test (that, and what the tests check with), bench (that, and what
# the benchmarks compare with) or all (the default).
# Idempotent: does nothing when all packages are present. Not root, it asks
# sudo; while another package manager holds apt's lock (the updates a fresh
# machine runs on its own) it waits up to APT_LOCK_WAIT seconds (600).
set -euo pipefail

usage() { echo "usage: $0 [run|test|bench|all]" >&2; exit 2; }

run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-image-formats-plugins qt6-translations-l10n
  # the webcam window: Qt Multimedia and the GStreamer elements it reads cameras with
  qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libgif-dev libjpeg-dev zlib1g-dev libtiff-dev
  libfreetype-dev libfontconfig-dev libcurl4-openssl-dev
  fonts-wqy-zenhei fonts-liberation2
  # the desktop's own programs for addresses, folders and mail (xdg-open, xdg-email);
  # tests of mailing a document use the real xdg-email, whose hook a stand-in takes
  xdg-utils
)
test_packages=(
  libgtest-dev libgmock-dev
  # outside tools that check what we write
  qpdf poppler-utils imagemagick libtiff-tools libimage-exiftool-perl netpbm
  # JPEG files of every coding libjpeg writes (arithmetic, scan scripts) and their pixels
  libjpeg-turbo-progs
  # GIFs as giflib itself writes them, indices beyond their colour table too (gifbuild)
  giflib-tools
  python3 python3-pyftpdlib xvfb xauth x11-utils file
  # the screen grab: the root window's colour, pointer and keys on Xvfb
  x11-xserver-utils xdotool
  # colour referees: libvips, and lcms for D50 L*a*b*
  libvips-tools liblcms2-utils
  # tests of encrypted documents: a second, stricter reader of passwords
  mupdf-tools
  # the fuzz targets
  clang
)
bench_packages=(img2pdf libvips-tools graphicsmagick)

task=${1:-all}
case "$task" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  bench | all) packages=("${run_packages[@]}" "${test_packages[@]}" "${bench_packages[@]}") ;;
  *) usage ;;
esac

say() { echo "install-deps: $*" >&2; }

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

lock_wait=${APT_LOCK_WAIT:-600}
# sudo starts its command with a fresh environment: the frontend setting goes
# on the command line, or debconf would stop to ask questions.
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o "DPkg::Lock::Timeout=$lock_wait")

# What a person without root rights can do instead, with the packages named.
as_root_instead() {
  say "  as root:  apt-get update && apt-get install --no-install-recommends $*"
  say "  then run this again ($0 $task)."
}

root=()
need_root() {
  [ "$(id -u)" -eq 0 ] && return 0
  if ! command -v sudo >/dev/null; then
    say "these packages are missing and only root can install them, but sudo is not installed:"
    say "  $*"
    say "Log in as root (su -) and install them, or install sudo and give your user its rights:"
    as_root_instead "$@"
    exit 1
  fi
  root=(sudo)
  say "not root: installing through sudo, which may ask for your password."
}

# Says why an apt-get command failed and what to do, and stops.
apt_failed() {
  local command=$1 status=$2
  if [ ${#root[@]} -gt 0 ] && [ "$status" -eq 1 ]; then
    say "sudo could not run apt-get (no password given, or no sudo rights for this user)."
  else
    say "apt-get $command failed (exit status $status). If another package manager still held"
    say "its lock, run this again once it is done, or set APT_LOCK_WAIT (now ${lock_wait} s) higher."
  fi
  say "To install the missing packages by hand:"
  as_root_instead "${missing[@]}"
  exit "$status"
}

# apt-get waits for dpkg's lock, but not for the lock of the package lists
# that another "apt-get update" holds (the daily one on a fresh machine): wait
# for that one here.
update_lists() {
  local log waited=0 status
  log=$(mktemp)
  while :; do
    status=0
    "${root[@]}" "${apt[@]}" update -q 2>&1 | tee "$log" || status=$?
    [ "$status" -eq 0 ] && break
    if ! grep -q /var/lib/apt/lists/lock "$log" || [ "$waited" -ge "$lock_wait" ]; then
      rm -f "$log"
      apt_failed update "$status"
    fi
    say "another package manager is updating the package lists: waiting for it (${waited} of ${lock_wait} s)"
    sleep 5
    waited=$((waited + 5))
  done
  rm -f "$log"
}

missing=()
updated=0
install_missing() {
  missing=()
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  need_root "${missing[@]}"
  say "missing, now installing: ${missing[*]}"
  if [ $updated -eq 0 ]; then
    update_lists
    updated=1
  fi
  local status=0
  "${root[@]}" "${apt[@]}" install -y --no-install-recommends "${missing[@]}" || status=$?
  [ "$status" -eq 0 ] || apt_failed install "$status"
}

install_missing "${packages[@]}"

[ "$task" = run ] && exit 0
# The fuzz targets link clang's libFuzzer and sanitizer runtimes, which come in
# a package named after the clang that is installed (libclang-rt-14-dev, ...).
clang_major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
if [ -n "$clang_major" ]; then
  install_missing "libclang-rt-$clang_major-dev"
else
  say "cannot tell the version of clang"
  exit 1
fi
