#!/bin/sh
# The Windows serial line end to end: starts the Linux simulated ECM, links a
# COM port of the Wine prefix to its pseudo-terminal (dosdevices/comN), runs
# a program of the Windows cross build on that port and checks what it did;
# then stops the simulator and removes the link. Each test takes its own COM
# number, so that tests can share the prefix at the same time.
#
# usage: WineComPortTest.sh SCENARIO COM_NUMBER WINE_RUN PREFIX SIM NATIVE_CLI PROGRAM
#   ram   PROGRAM (tavo-cli.exe) reads RAM through COMn as the Linux tavo-cli does
#   log   PROGRAM (tavo-cli.exe) logs through COMn; its rows are the Linux tavo-cli's
#   why   PROGRAM (tavo-cli.exe) says why 62500 baud or an unlinked COM port fails
#   line  PROGRAM (tavo_core_tests.exe) runs the tests of the line on COMn
# The simulator's RAM page holds 255 - address (but 0xFF at 0x00 and 0x12 at
# 0x12, as every ECM answers them).
set -eu
scenario=$1 com=$2 wine_run=$3 prefix=$4 sim=$5 native_cli=$6 program=$7

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

tmp=$(mktemp -d)
link="$prefix/dosdevices/com$com"
sim_pid=
cleanup() {
  rm -f "$link"
  exec 3>&-
  if [ -n "$sim_pid" ]; then
    # The simulator ends when its input closes; a stuck one is stopped.
    tries=0
    while kill -0 "$sim_pid" 2>/dev/null && [ $tries -lt 50 ]; do
      sleep 0.1
      tries=$((tries + 1))
    done
    kill "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

i=0
while [ $i -lt 256 ]; do
  printf "\\$(printf %03o $((255 - i)))"
  i=$((i + 1))
done >"$tmp/page.bin"

mkfifo "$tmp/sim-input"
"$sim" --ram "$tmp/page.bin" <"$tmp/sim-input" >"$tmp/sim.out" 2>&1 &
sim_pid=$!
exec 3>"$tmp/sim-input"
tries=0
until [ -s "$tmp/sim.out" ] || [ $tries -ge 100 ]; do
  sleep 0.1
  tries=$((tries + 1))
done
pty=$(head -n 1 "$tmp/sim.out")
[ -c "$pty" ] || fail "the simulated ECM did not start: $(cat "$tmp/sim.out")"

# Wine makes the prefix on first use; the link needs its folder.
mkdir -p "$prefix/dosdevices"
ln -sfn "$pty" "$link"
# Wine's server takes the first terminal it opens as its own, and when the
# simulator ends it lists all its objects on its error output: a server
# started here says that to no one (one already running keeps its own).
WINEPREFIX=$(cd "$prefix" && pwd) wineserver -p5 >/dev/null 2>&1 3>&- || true

# Runs a program under Wine in $tmp, output to $tmp/NAME.out and .err. Wine
# must not inherit the simulator's input (fd 3): its server outlives the
# program and would keep the simulator running.
run_wine() {
  name=$1
  shift
  status=0
  (cd "$tmp" && "$wine_run" "$prefix" "$@") >"$tmp/$name.out" 2>"$tmp/$name.err" 3>&- || status=$?
  return 0
}
run_linux() {
  name=$1
  shift
  status=0
  (cd "$tmp" && "$@") >"$tmp/$name.out" 2>"$tmp/$name.err" 3>&- || status=$?
  return 0
}
# Wine's server may add its own lines to a program's error output: the
# program's own line is looked for among them.
said() {
  grep -qxF "$2" "$tmp/$1.err" || fail "$1 did not say \"$2\"; it said: $(cat "$tmp/$1.err")"
}

case $scenario in
ram)
  run_wine windows "$program" ram --device "COM$com" --low-speed 2 --high-speed 2
  [ $status -eq 0 ] || fail "tavo-cli.exe ram exited $status: $(cat "$tmp/windows.err")"
  # The Linux run comes second: it leaves the pty at a rate that Wine 8
  # cannot read back (termios2's BOTHER).
  run_linux linux "$native_cli" ram --device "$pty" --low-speed 2 --high-speed 2
  [ $status -eq 0 ] || fail "tavo-cli ram exited $status: $(cat "$tmp/linux.err")"
  expected="BF BE BD BC BB BA B9 B8 B7 B6 B5 B4 B3 B2 B1 B0 SYNC"
  [ "$(cat "$tmp/linux.out")" = "$expected" ] || fail "tavo-cli ram printed $(cat "$tmp/linux.out")"
  cmp -s "$tmp/windows.out" "$tmp/linux.out" ||
    fail "tavo-cli.exe printed $(cat "$tmp/windows.out"), tavo-cli $(cat "$tmp/linux.out")"
  echo "tavo-cli.exe ram on COM$com: $(cat "$tmp/windows.out")"
  ;;
log)
  run_wine windows "$program" log --device "COM$com" --ticks 20 --period-ms 1 --low-speed 2 --high-speed 2 \
    --out windows.log
  [ $status -eq 0 ] || fail "tavo-cli.exe log exited $status: $(cat "$tmp/windows.err")"
  run_linux linux "$native_cli" log --device "$pty" --ticks 20 --period-ms 1 --low-speed 2 --high-speed 2 \
    --out linux.log
  [ $status -eq 0 ] || fail "tavo-cli log exited $status: $(cat "$tmp/linux.err")"
  run_linux windows-csv "$native_cli" log2csv windows.log
  run_linux linux-csv "$native_cli" log2csv linux.log
  rows=$(grep -c '^[0-9]' "$tmp/windows-csv.out" || true)
  [ "$rows" -eq 20 ] || fail "the log of tavo-cli.exe holds $rows rows, not 20: $(cat "$tmp/windows-csv.out")"
  cmp -s "$tmp/windows-csv.out" "$tmp/linux-csv.out" ||
    fail "the logs differ.\ntavo-cli.exe:\n$(cat "$tmp/windows-csv.out")\ntavo-cli:\n$(cat "$tmp/linux-csv.out")"
  echo "tavo-cli.exe log on COM$com: 20 rows, as tavo-cli logs them; the first:"
  sed -n '1,2p' "$tmp/windows-csv.out"
  ;;
why)
  # Wine 8 cannot set 62500 baud (it sets 38400): the link says so.
  run_wine rate "$program" ram --device "com$com:" --low-speed 3 --high-speed 3
  [ $status -eq 1 ] || fail "tavo-cli.exe ram at 62500 baud exited $status"
  said rate "The serial adapter on com$com: refused 62500 baud (it set 38400 baud)."
  rm -f "$link"
  run_wine missing "$program" ram --device "COM$com" --low-speed 2 --high-speed 2
  [ $status -eq 1 ] || fail "tavo-cli.exe ram on an unlinked port exited $status"
  said missing "There is no serial device COM$com."
  echo "tavo-cli.exe said why: $(head -n 1 "$tmp/rate.err") / $(head -n 1 "$tmp/missing.err")"
  ;;
line)
  # The test creates the file to have the line hung up: the simulator is
  # stopped then, as an adapter is unplugged.
  hang_up="$tmp/hang-up"
  TAVO_TEST_COM_PORT="COM$com" TAVO_TEST_HANG_UP_FILE="Z:$hang_up" \
    "$wine_run" "$prefix" "$program" --gtest_filter='WindowsSerialLineOnAComPort.*' \
    >"$tmp/tests.out" 2>&1 3>&- &
  tests_pid=$!
  while kill -0 "$tests_pid" 2>/dev/null && [ ! -e "$hang_up" ]; do
    sleep 0.05
  done
  exec 3>&-
  status=0
  wait "$tests_pid" || status=$?
  cat "$tmp/tests.out"
  [ $status -eq 0 ] || fail "the tests of the line on COM$com failed"
  grep -q '^\[  PASSED  \] 1 test' "$tmp/tests.out" || fail "the tests of the line did not run"
  ;;
*)
  fail "no scenario $scenario"
  ;;
esac
