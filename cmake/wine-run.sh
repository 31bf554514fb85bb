#!/bin/sh
# Runs a program of the Windows cross build under Wine, headless.
# usage: cmake/wine-run.sh WINEPREFIX [--dll-dirs /dir:/dir] PROGRAM.exe [ARGS...]
# (--dll-dirs: the Linux folders of the DLLs the program loads: Qt's, the
# compiler's runtime; Wine reaches the Linux root as drive Z:)
# The prefix is made on first use (under a lock: the build and the tests may
# start several programs at once); Wine's own chatter is silenced, and
# neither a display nor Wine's Mono and Gecko installers are asked for.
set -eu
mkdir -p "$1"
WINEPREFIX=$(cd "$1" && pwd)  # Wine takes an absolute path only
shift
if [ "${1:-}" = --dll-dirs ]; then
  dll_path=""
  old_ifs=$IFS
  IFS=:
  for dir in $2; do
    dll_path="${dll_path:+$dll_path;}Z:$(printf '%s' "$dir" | tr / '\\')"
  done
  IFS=$old_ifs
  export WINEPATH="$dll_path${WINEPATH:+;$WINEPATH}"
  shift 2
fi
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# Headless unless asked to show its windows (scripts/look-windows.sh).
if [ -z "${TAVO_WINE_SHOW:-}" ]; then
  unset DISPLAY WAYLAND_DISPLAY
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  flock "$WINEPREFIX.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || { wine wineboot --init && wineserver -w; }' \
    >/dev/null 2>&1
fi
exec wine "$@"
