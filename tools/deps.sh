#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, only those still missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libgl-dev
  libcurl4-openssl-dev libgtest-dev googletest
  xvfb xauth fonts-dejavu-core
  xdotool imagemagick  # the end-to-end run drives the program and takes screenshots
  qt6-translations-l10n  # Qt's Turkish texts for the standard buttons
  python3 python3-dbfread glpk-utils libglpk-dev libbenchmark-dev qpdf poppler-utils
  unrtf fonts-liberation2
  clang libclang-rt-14-dev libdbd-xbase-perl
  socat              # the serial-port tests make a pseudo-terminal pair
  python3-pyftpdlib  # the updater's tests start an FTP server on 127.0.0.1
  acl bindfs libacl1-dev libattr1-dev  # saves copy a file's access list and attributes; the save tests share a file with setfacl and save onto a FUSE mount that refuses modes
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
