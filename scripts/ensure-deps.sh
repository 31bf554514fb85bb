#!/usr/bin/env bash
# Installs, with apt-get, whatever TaVO needs to build, test and run that is
# not installed yet. Quiet when everything is in place.
# usage: scripts/ensure-deps.sh [--windows-qt]
#   --windows-qt: also what the Windows program needs: Debian's Qt source
#   fetched and cross-built (scripts/build-windows-qt.sh) and the installer (NSIS)
set -euo pipefail

packages=(g++ cmake make pkg-config qt6-base-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
          # the Windows cross build and Wine to run its tests
          g++-mingw-w64-x86-64-posix googletest wine wine64
          # the fuzz targets: clang, its libFuzzer and sanitizer runtimes, llvm-symbolizer
          clang libclang-rt-14-dev llvm-14)
if [ "${1:-}" = --windows-qt ]; then
  packages+=(dpkg-dev qt6-base-dev-tools ninja-build nsis xvfb xauth xdotool imagemagick)
fi
if [ "${TAVO_WITH_XVFB:-0}" = 1 ]; then
  packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
