#!/usr/bin/env bash
# Installs the Debian packages the build, tests, benchmarks and the Debian
# package (cpack) need; does nothing when they are all present.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libpng-dev libjpeg-dev libgif-dev
  libtiff-dev libtiff-tools
  libcli11-dev nlohmann-json3-dev libproj-dev
  clang libclang-rt-14-dev
  proj-bin gdal-bin netpbm poppler-utils
  qt6-base-dev qt6-qpa-plugins fonts-dejavu-core xvfb xauth
  desktop-file-utils dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
