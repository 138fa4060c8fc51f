#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running vorncad need.
# Safe to run again: packages already present are skipped.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libpolyclipping-dev libboost-dev nlohmann-json3-dev libpugixml-dev libreadline-dev
  fonts-wqy-microhei python3-ezdxf librecad libdxflib-dev poppler-utils
  qt6-base-dev libqt6test6 libgl-dev
  clang libclang-rt-14-dev
  desktop-file-utils dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
