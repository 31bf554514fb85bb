#!/usr/bin/env bash
# Cross-builds the part of Qt that TaVO uses (Core, Gui, Widgets, Test, the
# windows and offscreen platform plugins, PNG) for 64-bit Windows with
# MinGW-w64, from Debian's own source of the Qt the Linux build uses, and
# installs it into a cache folder outside the source tree:
#   ${TAVO_QT_MINGW_DIR:-~/.cache/tavo/qt6-mingw-<version>}
# Idempotent: with that folder complete, it does nothing. The source and the
# build tree go under ${TAVO_QT_MINGW_WORK:-~/.cache/tavo/qt6-mingw-work}
# and are removed once the install is complete (pass --keep to keep them).
# Prints the Qt folder on its last line.
#
# Needs (scripts/ensure-deps.sh --windows-qt installs them): dpkg-dev (for
# apt-get source), qt6-base-dev and qt6-base-dev-tools (the host's moc, rcc
# and uic: Qt cross-builds with its host tools), MinGW-w64's g++ (posix),
# cmake, ninja.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

keep=0
[[ "${1:-}" == "--keep" ]] && keep=1

version=$(dpkg-query -W -f '${Version}' qt6-base-dev 2>/dev/null || true)
if [[ -z "$version" ]]; then
  echo "build-windows-qt: qt6-base-dev is not installed (scripts/ensure-deps.sh --windows-qt)" >&2
  exit 1
fi
upstream=${version%%+*}   # 6.4.2+dfsg-10 -> 6.4.2
prefix=${TAVO_QT_MINGW_DIR:-$HOME/.cache/tavo/qt6-mingw-$upstream}
work=${TAVO_QT_MINGW_WORK:-$HOME/.cache/tavo/qt6-mingw-work}
stamp="$prefix/.tavo-qt-complete"

if [[ -f "$stamp" ]]; then
  echo "build-windows-qt: Qt $upstream for MinGW is in place"
  echo "$prefix"
  exit 0
fi

mkdir -p "$work"
started=$SECONDS

# Debian's source of the very package the Linux build uses. The deb-src
# entries are made from the system's own deb entries, in an apt
# configuration of this script's own: the system's sources stay untouched.
src_dir=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$upstream*" -print -quit 2>/dev/null || true)
if [[ -z "$src_dir" || ! -f "$src_dir/CMakeLists.txt" ]]; then
  apt_dir="$work/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/parts" "$apt_dir/cache/archives/partial"
  : >"$apt_dir/sources.list"
  shopt -s nullglob
  for file in /etc/apt/sources.list.d/*.sources; do
    sed -E 's/^Types:.*/Types: deb-src/' "$file" >"$apt_dir/parts/$(basename "$file")"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f "$file" ]] && sed -nE 's/^deb (.*)/deb-src \1/p' "$file" >>"$apt_dir/sources.list"
  done
  shopt -u nullglob
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
               -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
               -o "Dir::State::Status=/var/lib/dpkg/status")
  # Root fetches as itself: apt's own user may not enter a home folder.
  [[ $(id -u) == 0 ]] && apt_options+=(-o "APT::Sandbox::User=root")
  echo "== fetching Debian's source of qt6-base $version"
  apt-get "${apt_options[@]}" -qq update
  (cd "$work" && apt-get "${apt_options[@]}" -qq source "qt6-base=$version")
  src_dir=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$upstream*" -print -quit)
fi

# With OpenGL off, 6.4.2's windows plugin still reaches for Direct2D's
# font engine when DirectWrite 3 is there; Direct2D is off with OpenGL.
integration="$src_dir/src/plugins/platforms/windows/qwindowsintegration.cpp"
if grep -q '^#if QT_CONFIG(directwrite3)$' "$integration"; then
  sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' "$integration"
fi

build="$work/build"
echo "== configuring Qt $upstream for MinGW-w64 into $prefix"
cmake -S "$src_dir" -B "$build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF \
  -DFEATURE_sql=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_testlib=ON -DFEATURE_tabletevent=OFF \
  -DFEATURE_png=ON -DFEATURE_system_png=OFF -DFEATURE_system_zlib=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
  -DFEATURE_system_doubleconversion=OFF \
  >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; exit 1; }

steps=$(ninja -C "$build" -n 2>/dev/null | grep -c '^\[' || true)
echo "== building $steps steps; the compiler's output goes to $work/build.log"
cmake --build "$build" --parallel "$(nproc)" >"$work/build.log" 2>&1 || { tail -40 "$work/build.log" >&2; exit 1; }
cmake --install "$build" >/dev/null

date -u '+built %Y-%m-%d %H:%M UTC' >"$stamp"
echo "build-windows-qt: Qt $upstream for MinGW installed in $((SECONDS - started)) s ($(du -sh "$prefix" | cut -f1))"
if [[ $keep == 0 ]]; then
  rm -rf "$work"
fi
echo "$prefix"
