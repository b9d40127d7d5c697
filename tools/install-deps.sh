#!/bin/bash
# Installs the Debian packages that building, testing and running need, if
# any is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    zlib1g-dev libz-mingw-w64-dev
    libgtest-dev googletest libbenchmark-dev
    libcli11-dev help2man python3 libncurses-dev python3-pyte
    wine wine64 fonts-wine xvfb xauth x11-utils imagemagick x11-apps icoutils
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
# With their recommended packages: Wine's X11 driver loads several of them.
"${as_root[@]}" apt-get install -y -q "${missing[@]}"
