#!/usr/bin/env bash
# Cross-builds TaVO's plain core, its tests and tavo-cli for 64-bit Windows
# with MinGW-w64 (no Qt) into build-windows/, and runs
# the tests under Wine, headless. Extra options go to cmake.
# usage: scripts/build-windows.sh [cmake options...]
#   e.g. scripts/build-windows.sh -DTAVO_NATIVE_BUILD_DIR="$PWD/build"
#        (also compares tavo-cli.exe's output with that Linux build's)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" build-windows \
  --toolchain "$root/cmake/toolchains/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVO_GUI=OFF -DTAVO_SERIAL_LINE=ON -DTAVO_BENCHMARKS=OFF "$@"
ctest --test-dir "$root/build-windows" --output-on-failure -j "$(nproc)"
