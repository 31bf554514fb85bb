#!/usr/bin/env bash
# Measures the CPU that TaVO takes with "Live" ticked in the Quick Viewer:
# tavo in a real X server (Xvfb), the simulated ECM on a pseudo-terminal
# answering as a 62500-baud line would (--line-timed), all eight channels at
# "Fastest"; then the same with an ECM that falls silent once the run is
# on ("No reply from the ECM since ..."). Prints the share of one core
# the tavo process used over each window (from /proc/PID/stat).
#
# usage: scripts/measure-live-cpu.sh [BUILD_FOLDER] [SECONDS]
#   BUILD_FOLDER: where tavo and tavo-ecm-sim were built (default: build)
#   SECONDS:      length of each measurement (default: 30)
# Needs Xvfb and xdotool. With MEASURE_SHOTS=FOLDER (and ImageMagick's
# import) a screenshot of each run is saved there, to see Live was on.
# With MEASURE_HITS=1 "Hits" is ticked too (the hit shades drawn).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
seconds=${2:-30}
tavo=$build/src/app/tavo
sim=$build/tools/ecm-sim/tavo-ecm-sim
image=$build/sample/sample.bin
for need in Xvfb xdotool python3; do
  command -v "$need" >/dev/null || { echo "needs $need" >&2; exit 2; }
done
for file in "$tavo" "$sim" "$image"; do
  [ -e "$file" ] || { echo "missing $file (build first)" >&2; exit 2; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Logging.cfg in tavo's working folder: the default channels, port 1 at
# 976 baud to wake the ECM and 62500 baud to log.
python3 - "$work/Logging.cfg" <<'PY'
import struct, sys
channels = [("RPMs", 0x8F, 1, 0.0078125), ("Vehicle Speed", 0x69, 1, 0.03125),
            ("Throttle Position", 0x98, 0, 1.0), ("MAP", 0x86, 0, 1.0),
            ("Coolant Temp", 0x9A, 0, 1.0), ("Charge Air Temp", 0x9D, 0, 1.0),
            ("Advance/Retard", 0x72, 0, 1.0), ("Rich/Lean", 0x9C, 0, 1.0)]
out = bytearray(1356)
for i, (title, location, word, multiplier) in enumerate(channels):
    base = i * 80
    out[base:base + len(title)] = title.encode()
    struct.pack_into("<I", out, base + 64, location)
    out[base + 68] = word
    struct.pack_into("<d", out, base + 72, multiplier)
out[1280:1280 + 11] = b"87 Turbo II"
struct.pack_into("<III", out, 1344, 1, 1, 3)
open(sys.argv[1], "wb").write(out)
PY

# Settings of its own: no live channel remembered from an earlier run, so
# that the keys below choose RPMs.
export XDG_CONFIG_HOME=$work/config

display=:$(( 150 + RANDOM % 50 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
sleep 1.5
export DISPLAY=$display
# A window manager gives each new window the keyboard, as on a desktop.
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & pids+=($!); sleep 0.5; fi

# Core seconds (user + system) the process has used so far.
cpu_seconds() {
  python3 - "$1" <<'PY'
import os, sys
fields = open(f"/proc/{sys.argv[1]}/stat").read().rsplit(")", 1)[1].split()
print((int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK"))
PY
}

# Core seconds per thread, "name=seconds" a line.
thread_seconds() {
  python3 - "$1" <<'PY'
import glob, os, sys
for stat in sorted(glob.glob(f"/proc/{sys.argv[1]}/task/*/stat")):
    text = open(stat).read()
    name = text[text.index("(") + 1:text.rindex(")")]
    fields = text.rsplit(")", 1)[1].split()
    print(f"{name}={(int(fields[11]) + int(fields[12])) / os.sysconf('SC_CLK_TCK')}")
PY
}

keys() { for k in "$@"; do xdotool key "$k"; sleep 0.4; done; }
# The keyboard to the window of that title, once it shows.
focus() {
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "^$1( - .*)?$" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { echo "no window \"$1\"" >&2; return 1; }
  xdotool windowfocus "$id" 2>/dev/null || true
  sleep 0.3
}

# One measurement: a simulated ECM with the given options, tavo linked to
# it, Fastest with every channel chosen in Data Logging, then the Quick
# Viewer with Live ticked.
measure() {
  local label=$1; shift
  local fifo=$work/sim-in-$label
  mkfifo "$fifo"
  local record=$work/heard-$label
  : >"$record"
  "$sim" --line-timed --record "$record" "$@" <"$fifo" >"$work/sim-$label.out" 2>&1 & local simpid=$!
  pids+=($simpid)
  exec 3>"$fifo"
  for _ in $(seq 50); do [ -s "$work/sim-$label.out" ] && break; sleep 0.1; done
  local device
  device=$(head -n 1 "$work/sim-$label.out")
  (cd "$work" && exec "$tavo" --serial-device "$device" "$image") >"$work/tavo-$label.log" 2>&1 & local app=$!
  pids+=($app)
  sleep 3
  focus "Quick Viewer"; keys Escape  # the Quick Viewer opened at start
  focus TaVO; keys ctrl+d            # Data Logging
  focus "Data Logging"
  keys alt+f                         # Fastest
  keys alt+1 alt+2 alt+3 alt+4 alt+5 alt+6 alt+7 alt+8
  keys Escape
  focus TaVO; keys ctrl+t            # the Quick Viewer
  # The WOT table with RPMs as its live channel: the marker and its trail drawn.
  focus "Quick Viewer"; keys W alt+h Down
  keys alt+l                         # Live
  [ -n "${MEASURE_HITS:-}" ] && keys alt+i  # Hits
  sleep 8                          # connected (or, silent, past the first attempt)
  [ -n "${MEASURE_SHOTS:-}" ] && command -v import >/dev/null && import -window root "$MEASURE_SHOTS/${label// /-}.png"
  local before after heardBefore heardAfter
  before=$(cpu_seconds "$app")
  thread_seconds "$app" >"$work/threads-before"
  heardBefore=$(wc -l <"$record")
  sleep "$seconds"
  after=$(cpu_seconds "$app")
  thread_seconds "$app" >"$work/threads-after"
  heardAfter=$(wc -l <"$record")
  python3 -c "import sys; b, a, s, hb, ha = map(float, sys.argv[1:]); print(f'$label: {100 * (a - b) / s:.2f}% of a core over {s:.0f} s (the ECM heard {(ha - hb) / s:.0f} bytes a second)')" \
    "$before" "$after" "$seconds" "$heardBefore" "$heardAfter"
  # The threads that used any of it (the GUI thread is named tavo).
  python3 - "$work/threads-before" "$work/threads-after" "$seconds" <<'PY'
import collections, sys
def read(path):
    totals = collections.Counter()
    for line in open(path):
        name, value = line.rstrip("\n").rsplit("=", 1)
        totals[name] += float(value)
    return totals
before, after = read(sys.argv[1]), read(sys.argv[2])
for name in after:
    share = 100 * (after[name] - before.get(name, 0)) / float(sys.argv[3])
    if share >= 0.05:
        print(f"  thread {name}: {share:.2f}%")
PY
  xdotool key Escape; sleep 0.5
  kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true
  exec 3>&-
  kill "$simpid" 2>/dev/null || true; wait "$simpid" 2>/dev/null || true
}

measure "Live at Fastest"
# Silent once the run is on: it has "No reply" and retries, as with a car
# switched off under a running log.
measure "Live, ECM fallen silent" --mute-after 3000
