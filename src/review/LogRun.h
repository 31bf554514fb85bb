#pragma once
// A logged run as the log window and the statistics see it: the rows oldest
// first, one byte per logged channel, each row with its time in seconds.
// Made from a log file (the rows log2csv takes, in its order, at row x
// period) or from a CSV that TaVO wrote (its own seconds column).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "logging/Acquisition.h"
#include "logging/LogFile.h"

namespace tavo {

// The trace of the custom address; slots 0 to 7 are channels 1 to 8.
inline constexpr int kCustomTrace = kCustomSlot;
inline constexpr int kTraceCount = 9;

struct RunChannel {
    std::string title;                 // UTF-8; "Custom" for the custom address
    int slot = 0;                      // the byte of the ring row: 0-7 channels 1-8, 8 custom
    std::vector<std::uint8_t> values;  // one per row, oldest first
};

enum class RunTimes {
    Nominal,   // row x the sample period: the file holds no times
    Measured,  // the times the file holds
};

struct LogRun {
    std::vector<RunChannel> channels;  // in the file's column order (slot order for a log file)
    std::vector<double> seconds;       // one per row, never decreasing
    RunTimes times = RunTimes::Nominal;
    std::int32_t periodMs = 0;         // the nominal period (Nominal only)
    int heldTimes = 0;                 // rows whose time went back in the file, held at the row before

    // Where the run came from, for the CSV export.
    std::shared_ptr<const LogFileContent> logFile;  // a log file: with the titles below
    LogChannels logTitles{};
    bool wrapped = false;
    std::string csvBytes;  // a CSV: the file as it was read

    int rowCount() const { return static_cast<int>(seconds.size()); }
};

// The run of a log file: its logged rows in log2csv's order (oldest first;
// ringLooksWrapped decides), channels 1 to 8 of the mask in order with the
// titles of `titles`, then "Custom" when bit 8 is set; row k at k x period.
// A period below 1 ms (no TaVO period) is taken as 1 ms so rows stay apart.
LogRun logRunOf(const LogFileContent& log, const LogChannels& titles);

// The slot each CSV channel column had: "Custom" as the last column is slot
// 8; another column takes the first channel after the previous column's
// whose title in `titles` it bears and that leaves a channel for each later
// column, else the channel right after it. Nothing when more columns than
// eight channels would need a slot.
std::vector<int> slotsForTitles(const std::vector<std::string>& columns, const LogChannels& titles);

// The CSV TaVO writes for the run: log2csv's for a log file, the file's own
// bytes for a CSV.
std::string runCsv(const LogRun& run);

// The time axis's name: "seconds, nominal: row x 62 ms" or "seconds,
// measured", saying how many times were held.
std::string timeAxisText(const LogRun& run);

}  // namespace tavo
