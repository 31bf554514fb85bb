#!/usr/bin/env bash
# The whole program for 64-bit Windows: tavo.exe and tavo-cli.exe built with
# MinGW-w64 against the Qt of scripts/build-windows-qt.sh, into
# build-windows-gui/; its tests (the GUI tests too, offscreen) under Wine;
# then the zip and, where makensis is installed, the installer, which is
# tried under Wine (scripts/check-windows-installer.sh) where Xvfb and
# xdotool are at hand.
# usage: scripts/build-windows-gui.sh [cmake options...]
# Without that Qt it says so in one line and does nothing (exit 0).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(dpkg-query -W -f '${Version}' qt6-base-dev 2>/dev/null || true)
prefix=${TAVO_QT_MINGW_DIR:-$HOME/.cache/tavo/qt6-mingw-${version%%+*}}
if [[ -z "$version" || ! -f "$prefix/.tavo-qt-complete" ]]; then
  echo "Windows GUI build skipped: no Qt for MinGW in $prefix (scripts/build-windows-qt.sh makes it: some 20 minutes on 2 cores)"
  exit 0
fi

"$root/scripts/build.sh" build-windows-gui \
  --toolchain "$root/cmake/toolchains/mingw-w64-x86_64.cmake" \
  -DTAVO_QT_PREFIX="$prefix" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVO_GUI=ON -DTAVO_SERIAL_LINE=ON -DTAVO_BENCHMARKS=OFF "$@"
ctest --test-dir "$root/build-windows-gui" --output-on-failure -j "$(nproc)"
(cd "$root/build-windows-gui" && cpack -B "$root/build-windows-gui/packages" >cpack.log 2>&1) || {
  tail -30 "$root/build-windows-gui/cpack.log"
  exit 1
}
ls -1 "$root/build-windows-gui/packages"/TaVO-*.zip
installer=$(ls "$root/build-windows-gui/packages"/TaVO-*.exe 2>/dev/null | head -n 1 || true)
if [[ -z "$installer" ]]; then
  echo "No installer: makensis is not installed (scripts/ensure-deps.sh --windows-qt)"
elif command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  echo "$installer"
  "$root/scripts/check-windows-installer.sh" "$installer"
else
  echo "$installer (not tried: Xvfb or xdotool missing)"
fi
