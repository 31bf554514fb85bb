#pragma once
// How the simulated ECM behaves: its RAM page, the line speed it understands,
// when it starts answering, and the faults it can play.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavo::sim {

using RamPage = std::array<std::uint8_t, 256>;

struct SimOptions {
    std::optional<RamPage> ram;   // --ram: a fixed page; else the engine model
    std::vector<RamPage> frames;  // --frames: one page per sync check
    std::optional<int> baud;      // --baud: the only rate understood; else any
    int answerFromAttempt = 1;    // silent until N - 1 low-speed wake-ups were heard
    bool silent = false;
    int dropEvery = 0;            // every K-th answerable request goes unanswered
    bool extraBytes = false;      // two noise bytes after each reply
    bool lineTimed = false;       // replies when a real line would deliver them
    int turnaroundUs = 50;
    std::string recordPath;       // one line per received byte
    std::string linkPath;         // a symbolic link to the pty's device
};

// Parses tavo-ecm-sim's options (and reads the --ram and --frames files);
// false with a message when they do not fit.
bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

inline constexpr const char* kSimUsage =
    "usage: tavo-ecm-sim [--ram FILE] [--frames FILE] [--baud B] [--answer-from-attempt N]\n"
    "                    [--silent] [--drop-every K] [--extra-bytes] [--line-timed]\n"
    "                    [--turnaround-us U] [--record FILE] [--link PATH]\n"
    "Prints the device of its pseudo-terminal on the first line and answers there until\n"
    "Ctrl+C, SIGTERM or the end of its standard input (a terminal or a pipe).\n";

}  // namespace tavo::sim
