#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Velmora.
# Installs nothing when everything is already there.
set -euo pipefail

packages=(
  g++ cmake ninja-build make
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev tzdata iproute2
  qt6-base-dev fonts-dejavu-core libfreetype-dev libpng-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
run apt-get update -q
run apt-get install -y -q --no-install-recommends "${missing[@]}"
