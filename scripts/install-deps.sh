#!/usr/bin/env bash
# Installs the Debian packages a task needs: run (build and run Vimo and its
# library), test (that, and what the tests check with), bench (that, and what
# the benchmarks compare with) or all (the default).
# Idempotent: does nothing when all packages are present.
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

case "${1:-all}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  bench | all) packages=("${run_packages[@]}" "${test_packages[@]}" "${bench_packages[@]}") ;;
  *) usage ;;
esac

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
updated=0
install_missing() {
  local missing=()
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ $updated -eq 0 ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    updated=1
  fi
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"

[ "${1:-all}" = run ] && exit 0
# The fuzz targets link clang's libFuzzer and sanitizer runtimes, which come in
# a package named after the clang that is installed (libclang-rt-14-dev, ...).
clang_major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
if [ -n "$clang_major" ]; then
  install_missing "libclang-rt-$clang_major-dev"
else
  echo "install-deps: cannot tell the version of clang" >&2
  exit 1
fi
