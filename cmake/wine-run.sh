#!/bin/sh
# Runs a program of the Windows cross build under Wine, headless.
# usage: cmake/wine-run.sh WINEPREFIX PROGRAM.exe [ARGS...]
# The prefix is made on first use (under a lock: the build and the tests may
# start several programs at once); Wine's own chatter is silenced, and
# neither a display nor Wine's Mono and Gecko installers are asked for.
set -eu
mkdir -p "$1"
WINEPREFIX=$(cd "$1" && pwd)  # Wine takes an absolute path only
shift
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  flock "$WINEPREFIX.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || { wine wineboot --init && wineserver -w; }' \
    >/dev/null 2>&1
fi
exec wine "$@"
