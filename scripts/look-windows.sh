#!/usr/bin/env bash
# Runs the Windows tavo.exe (build-windows-gui/) under Wine in a real X
# window (Xvfb) and saves screenshots of what a user sees: the sample
# calibration in the Quick Viewer, the main window, About, and Data Logging
# logging the simulated ECM (the Linux build's tavo-ecm-sim) through a Wine
# COM port at speed choice 2 (1200 and 9600 baud, rates Wine can set).
# usage: scripts/look-windows.sh OUT_DIR
# Needs: scripts/build-windows-gui.sh and the Linux build (build/) done;
# Xvfb, xdotool and ImageMagick's import (scripts/ensure-deps.sh --windows-qt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:?usage: scripts/look-windows.sh OUT_DIR}" && cd "$1" && pwd)
gui="$root/build-windows-gui"
tavo="$gui/src/app/tavo.exe"
sim="$root/build/tools/ecm-sim/tavo-ecm-sim"
for needed in "$tavo" "$sim"; do
  [[ -x "$needed" || -f "$needed" ]] || { echo "look-windows: $needed is not built" >&2; exit 1; }
done
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "look-windows: $tool is missing (scripts/ensure-deps.sh --windows-qt)" >&2; exit 1; }
done

# How the build runs its programs: wine-run.sh, the Wine prefix, where the DLLs are.
mapfile -t run <"$gui/wine-run-line"
prefix=${run[1]}

work=$(mktemp -d)
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  rm -f "$prefix/dosdevices/com45"
  rm -rf "$work"
}
trap cleanup EXIT

# The sample calibration, and Logging.cfg at speed choice 2; the port is
# COM45 for this run (Wine keeps the low COM numbers for its own ports).
cp "$gui/sample/sample.bin" "$gui/sample/sample.tbl" "$work/"
cp "$root/Logging.cfg" "$work/Logging.cfg"
python3 - "$work/Logging.cfg" <<'PY'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, 'rb').read())
struct.pack_into('<iii', data, 1344, 1, 2, 2)  # port, wake-up speed, logging speed
open(path, 'wb').write(data)
PY

"$sim" --link "$work/ecm" >"$work/sim.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -e "$work/ecm" ]] && break; sleep 0.1; done
"${run[@]}" cmd /c exit >/dev/null 2>&1 || true   # the prefix exists
ln -sfn "$(readlink -f "$work/ecm")" "$prefix/dosdevices/com45"
# Wine's server takes the first terminal it opens as its own: one started
# here, apart from the simulator's input.
WINEPREFIX="$prefix" wineserver -p5 >/dev/null 2>&1 </dev/null || true

display=:$((150 + RANDOM % 50))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1.5
if command -v openbox >/dev/null; then
  DISPLAY=$display openbox >/dev/null 2>&1 &
  pids+=($!)
fi

shot() {
  DISPLAY=$display import -window root "$out/$1.png"
  echo "$out/$1.png"
}
keys() {
  for key in "$@"; do
    DISPLAY=$display xdotool key "$key"
    sleep 0.4
  done
  sleep 1.5
}

(cd "$work" && DISPLAY=$display TAVO_WINE_SHOW=1 "${run[@]}" "$tavo" --serial-device COM45 sample.bin >"$out/tavo.stdout" 2>"$out/tavo.stderr") &
pids+=($!)
# Wine takes its time the first time a prefix shows a window.
for _ in $(seq 60); do
  DISPLAY=$display xdotool search --name "Quick Viewer" >/dev/null 2>&1 && break
  sleep 1
done
sleep 2
shot windows-quick-viewer
keys Escape
shot windows-main
keys alt+F1
shot windows-about
keys Escape ctrl+d
sleep 1
keys alt+1 alt+3 alt+4 alt+l
sleep 8
shot windows-data-logging
