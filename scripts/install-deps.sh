#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, and the tools that build and check what
# the install and the Debian package hold (manual pages, validators, icon scaling). Does nothing when all are present.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libx11-dev libxext-dev libxrender-dev libxtst-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb x11-utils
  help2man man-db gzip desktop-file-utils appstream dpkg-dev file imagemagick
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
