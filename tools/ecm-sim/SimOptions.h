#pragma once
// How the simulated ECM behaves: its RAM page, the line speed it understands,
// when it starts answering, and the faults of a real line it can play.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavo::sim {

using RamPage = std::array<std::uint8_t, 256>;

// The line rates --baud takes: what serial adapters can run.
inline constexpr int kLowestSimBaud = 50;
inline constexpr int kHighestSimBaud = 12'000'000;

// --ram and --frames files larger than this are refused.
inline constexpr std::size_t kMostSimFileBytes = 16 * 1024 * 1024;

struct SimOptions {
    std::optional<RamPage> ram;   // --ram: a fixed page; else the engine model
    std::vector<RamPage> frames;  // --frames: one page per sync check
    std::optional<int> baud;      // --baud: the only rate understood; else any
    int answerFromAttempt = 1;    // silent until N - 1 low-speed wake-ups were heard
    bool silent = false;
    int dropEvery = 0;            // every K-th answerable request goes unanswered
    bool extraBytes = false;      // two noise bytes with each reply, in the same write
    int lateEvery = 0;            // every K-th answerable request is answered late,
    int lateMs = 80;              // this many milliseconds late
    int twiceEvery = 0;           // every K-th is answered a second time two byte times later
    int noiseEvery = 0;           // every K-th reply is followed by a noise byte, in a write of its own
    long long muteAfter = -1;     // stops answering after this many requests heard (the port stays open)
    bool lineTimed = false;       // replies when a real line would deliver them
    int turnaroundUs = 50;
    int usbLatencyMs = 0;         // replies held until the next multiple of this (a USB adapter's latency timer)
    std::string recordPath;       // one line per received byte
    std::string linkPath;         // a symbolic link to the pty's device
    std::string ramPath;          // the --ram and --frames files, read by loadSimFiles
    std::string framesPath;
};

// Parses tavo-ecm-sim's options; false with a message when they do not fit.
bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);
// Reads the --ram and --frames files named in the options; false with a
// message when one cannot be read or holds no whole pages (a folder, a pipe,
// a device or a file above 16 MiB is refused without waiting on it).
bool loadSimFiles(SimOptions& options, std::string& error);

inline constexpr const char* kSimUsage =
    "usage: tavo-ecm-sim [options]\n"
    "Prints the device of its pseudo-terminal on the first line and answers there as an ECM\n"
    "until Ctrl+C, SIGTERM or the end of its standard input (a terminal or a pipe).\n"
    "What it answers:\n"
    "  --ram FILE              a fixed 256-byte RAM page (else a small engine model)\n"
    "  --frames FILE           whole 256-byte pages, the next one at each sync check\n"
    "  --baud B                the only line rate it understands, 50 to 12000000 (else any)\n"
    "  --answer-from-attempt N silent until N - 1 low-speed wake-ups were heard\n"
    "  --line-timed            replies when a real line at the client's rate would deliver them\n"
    "  --turnaround-us U       the ECM's time between a request and its reply (line-timed; 50)\n"
    "  --usb-latency-ms N      holds each reply until the next multiple of N ms after its request\n"
    "                          arrived, as a USB adapter's latency timer does (0: at once; 1 to 255)\n"
    "Faults of a real line (K counts the requests it would answer):\n"
    "  --silent                never answers\n"
    "  --drop-every K          every K-th request goes unanswered\n"
    "  --late-every K          every K-th request is answered late,\n"
    "  --late-ms M               M milliseconds late (80, past the link's 50 ms wait)\n"
    "  --twice-every K         every K-th reply is sent a second time, two byte times later\n"
    "  --noise-every K         every K-th reply is followed by a noise byte two byte times later\n"
    "  --extra-bytes           two noise bytes with each reply, in the same write\n"
    "  --mute-after N          stops answering after N requests heard; the port stays open\n"
    "Other:\n"
    "  --record FILE           appends one line per byte heard (time, rate, byte)\n"
    "  --link PATH             makes PATH a symbolic link to the device\n"
    "  --help                  this help\n";

}  // namespace tavo::sim
