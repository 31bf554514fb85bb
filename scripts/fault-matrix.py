#!/usr/bin/env python3
"""The link under combined line faults: runs `tavo-cli log` and `tavo-cli ram`
against `tavo-ecm-sim` with its faults combined, on a known page (each
address's value is the address XOR 0x5A) and on frames that change at each
sync check, and counts the values stored or shown that the ECM did not send
for their address (and, on frames, in their own tick).

usage: scripts/fault-matrix.py [BUILD] 
       scripts/fault-matrix.py --rows-per-second [BUILD...]
  BUILD              a build folder (build); it needs src/cli/tavo-cli and
                     tools/ecm-sim/tavo-ecm-sim
  --rows-per-second  the clean-line figure instead: rows a second at
                     "Fastest" against --line-timed at 62500 baud, eight
                     channels, five runs of 10 s per build, taken in turn
"""
import csv
import json
import os
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def own(address, frame=0):
    if address == 0x00:
        return 0xFF
    if address == 0x12:
        return 0x12
    return ((address ^ 0x5A) + frame) & 0xFF


def write_config(path):
    """Eight byte channels at 0x60..0x67: what they hold is what was answered."""
    out = bytearray(1356)
    for i in range(8):
        base = i * 80
        title = ("ch%d" % (i + 1)).encode()
        out[base:base + len(title)] = title
        struct.pack_into("<i", out, base + 64, 0x60 + i)
        out[base + 68] = 0
        struct.pack_into("<d", out, base + 72, 1.0)
    out[1280:1280 + 6] = b"matrix"
    struct.pack_into("<iii", out, 1344, 1, 1, 3)  # 62500 baud
    with open(path, "wb") as f:
        f.write(out)


def write_pages(folder):
    ram = os.path.join(folder, "ram.bin")
    with open(ram, "wb") as f:
        f.write(bytes(own(a) for a in range(256)))
    frames = os.path.join(folder, "frames.bin")
    with open(frames, "wb") as f:
        for k in range(4096):
            f.write(bytes(own(a, k) for a in range(256)))
    return ram, frames


class Sim:
    def __init__(self, build, options):
        self.proc = subprocess.Popen([os.path.join(build, "tools/ecm-sim/tavo-ecm-sim")] + options,
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.device = self.proc.stdout.readline().strip()

    def close(self):
        self.proc.stdin.close()
        self.proc.wait(timeout=10)


def frame_of(address, value):
    return (value - (address ^ 0x5A)) & 0xFF


def wrong_rows(rows, frames):
    """Rows holding a value the ECM did not send for that address (and tick)."""
    wrong = 0
    last = None
    for row in rows:
        values = [int(v) for v in row[2:]]
        addresses = [0x60 + i for i in range(4)] + [0x40]
        if not frames:
            wrong += any(v != own(a) for a, v in zip(addresses, values))
            continue
        seen = {frame_of(a, v) for a, v in zip(addresses, values)}
        bad = len(seen) != 1
        if not bad:
            k = seen.pop()
            # Each tick's sync check moves the ECM to a later frame.
            if last is not None and not (0 < (k - last) & 0xFF < 128):
                bad = True
            last = k
        wrong += bad
    return wrong


def run_log(build, folder, sim_options, ticks, frames):
    ram, frame_file = write_pages(folder) if not os.path.exists(os.path.join(folder, "ram.bin")) else (
        os.path.join(folder, "ram.bin"), os.path.join(folder, "frames.bin"))
    page = ["--frames", frame_file] if frames else ["--ram", ram]
    sim = Sim(build, page + sim_options)
    out_csv = os.path.join(folder, "log.csv")
    try:
        done = subprocess.run([os.path.join(build, "src/cli/tavo-cli"), "log", "--device", sim.device,
                               "--ticks", str(ticks), "--period-ms", "1", "--channels", "1,2,3,4,custom",
                               "--custom", "40", "--config", os.path.join(folder, "Logging.cfg"),
                               "--out", os.path.join(folder, "run.log"), "--csv", out_csv, "--json"],
                              capture_output=True, text=True, timeout=600)
    finally:
        sim.close()
    with open(out_csv) as f:
        rows = list(csv.reader(f))[1:]
    result = json.loads(done.stdout) if done.stdout.strip() else {}
    return done.returncode, len(rows), wrong_rows(rows, frames), result


def run_ram(build, folder, sim_options, runs):
    sim = Sim(build, ["--ram", os.path.join(folder, "ram.bin")] + sim_options)
    shown = wrong = zero_with_wrong = 0
    try:
        for _ in range(runs):
            done = subprocess.run([os.path.join(build, "src/cli/tavo-cli"), "ram", "--device", sim.device,
                                   "--base", "40", "--count", "64", "--low-speed", "1", "--high-speed", "3",
                                   "--json"], capture_output=True, text=True, timeout=120)
            if not done.stdout.strip():
                continue
            values = json.loads(done.stdout)["values"]
            bad = sum(1 for i, v in enumerate(values) if v is not None and v != own((0x40 + i) & 0xFF))
            shown += sum(1 for v in values if v is not None)
            wrong += bad
            zero_with_wrong += done.returncode == 0 and bad > 0
    finally:
        sim.close()
    return shown, wrong, zero_with_wrong


MATRIX = [
    (["--drop-every", "13", "--twice-every", "7"], 200, False),
    (["--drop-every", "13", "--noise-every", "5"], 200, False),
    (["--late-every", "17", "--late-ms", "60", "--twice-every", "7"], 200, False),
    (["--drop-every", "13", "--twice-every", "7", "--noise-every", "5", "--late-every", "17", "--late-ms", "60"],
     150, False),
    (["--line-timed", "--drop-every", "29", "--noise-every", "31"], 400, False),
    (["--late-every", "37", "--late-ms", "300"], 200, True),
    (["--drop-every", "101", "--noise-every", "53"], 400, False),
    (["--late-every", "61", "--late-ms", "120", "--twice-every", "71"], 400, False),
    (["--line-timed", "--drop-every", "101", "--noise-every", "53"], 400, True),
]


def rows_per_second(builds, folder, runs=5, seconds=10):
    """Rows a second of each build, runs taken in turn so that the load of
    the machine falls on all alike."""
    figures = {build: [] for build in builds}
    for _ in range(runs):
        for build in builds:
            sim = Sim(build, ["--ram", os.path.join(folder, "ram.bin"), "--line-timed"])
            try:
                done = subprocess.run([os.path.join(build, "src/cli/tavo-cli"), "log", "--device", sim.device,
                                       "--seconds", str(seconds), "--period-ms", "1", "--config",
                                       os.path.join(folder, "Logging.cfg"), "--out",
                                       os.path.join(folder, "rate.log"), "--json"],
                                      capture_output=True, text=True, timeout=seconds * 10)
            finally:
                sim.close()
            result = json.loads(done.stdout)
            figures[build].append(result["answeredTicks"] / result["seconds"])
    for build in builds:
        values = sorted(figures[build])
        print("%s: clean line, Fastest, 62500 baud, line-timed, eight channels, %d s runs: rows/s %s (median %.1f)" %
              (build, seconds, " ".join("%.1f" % f for f in values), values[len(values) // 2]))


def main():
    args = [os.path.abspath(a) for a in sys.argv[1:] if not a.startswith("--")]
    build = args[0] if args else os.path.join(ROOT, "build")
    with tempfile.TemporaryDirectory() as folder:
        write_config(os.path.join(folder, "Logging.cfg"))
        write_pages(folder)
        if "--rows-per-second" in sys.argv:
            rows_per_second(args or [build], folder)
            return
        print("| simulator faults | page | ticks | rows stored | rows wrong | exit |")
        print("|---|---|---|---|---|---|")
        for options, ticks, frames in MATRIX:
            code, stored, wrong, _ = run_log(build, folder, options, ticks, frames)
            print("| `%s` | %s | %d | %d | %d | %d |" % (" ".join(options), "frames" if frames else "known",
                                                         ticks, stored, wrong, code), flush=True)
        all_four = MATRIX[3][0]
        shown, wrong, zero = run_ram(build, folder, all_four, 20)
        print("ram, all four faults, 20 runs of 64: %d values shown, %d wrong, %d runs exited 0 with a wrong value" %
              (shown, wrong, zero))


if __name__ == "__main__":
    main()
