#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in the
# normal build and in the AddressSanitizer + UndefinedBehaviorSanitizer build,
# both with warnings as errors; and the Windows cross build's tests under
# Wine, comparing its tavo-cli.exe with the normal build's tavo-cli, and
# the whole Windows program with its GUI tests and packages where a Qt for
# MinGW has been built (scripts/build-windows-qt.sh; it says so when not). Last,
# each fuzz target runs for 10 seconds from its seeds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/ensure-deps.sh"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVO_WERROR=ON
echo "== tests (RelWithDebInfo)"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"

echo "== Windows cross build (MinGW-w64) and its tests under Wine"
started=$SECONDS
"$root/scripts/build-windows.sh" -DTAVO_WERROR=ON -DTAVO_NATIVE_BUILD_DIR="$root/build"
echo "== Windows part: $((SECONDS - started)) s"

echo "== the whole Windows program (Qt for MinGW, when scripts/build-windows-qt.sh has made it)"
started=$SECONDS
"$root/scripts/build-windows-gui.sh" -DTAVO_WERROR=ON
echo "== Windows program part: $((SECONDS - started)) s"

"$root/scripts/build.sh" build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVO_SANITIZE=ON -DTAVO_BENCHMARKS=OFF -DTAVO_WERROR=ON
echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
ctest --test-dir "$root/build-asan" --output-on-failure -j "$(nproc)"

echo "== fuzz targets, 10 s each from their seeds"
started=$SECONDS
FUZZ_FLAGS="-seed=1 ${FUZZ_FLAGS:-}" "$root/scripts/fuzz.sh" all 10
echo "== fuzz part: $((SECONDS - started)) s"
