#!/usr/bin/env bash
# Installs every Debian package that building, running, testing and benchmarking need.
# Idempotent: does nothing when all packages are present.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-image-formats-plugins libqt6svg6 qt6-translations-l10n
  libgif-dev libjpeg-dev zlib1g-dev libtiff-dev libpng-dev
  libfreetype-dev libfontconfig-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev
  fonts-wqy-zenhei fonts-liberation2
  # tests: outside tools that check what we write
  qpdf poppler-utils imagemagick libtiff-tools libimage-exiftool-perl netpbm
  python3 python3-pyftpdlib xvfb xauth x11-utils file clang libclang-rt-14-dev
  # benchmarks
  img2pdf libvips-tools
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
