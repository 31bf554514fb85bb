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
#include "review/RunGaps.h"

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
    Rows,      // a log file logged at "Fastest": no times and no fixed rate, so
               // the axis counts rows (`seconds` holds the row number, from 1)
};

struct LogRun {
    std::vector<RunChannel> channels;  // in the file's column order (slot order for a log file)
    std::vector<double> seconds;       // one per row, never decreasing
    RunTimes times = RunTimes::Nominal;
    std::int32_t periodMs = 0;         // the nominal period (Nominal only)
    int heldTimes = 0;                 // rows whose time went back in the file, held at the row before
    std::vector<RunGap> gaps;          // where measured times show a silence (none otherwise)

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
// A period of 1 ms or less ("Fastest", or no TaVO period) gives no time at
// all: the rows are counted instead (RunTimes::Rows).
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

// The time axis's name: "seconds, nominal: row x 62 ms", "seconds,
// measured" (saying how many times were held), or for a run logged at
// "Fastest" without times, that the axis counts rows.
std::string timeAxisText(const LogRun& run);

// Where the cursor is, as the read-out and the chart's cursor label say it:
// "12.345 s", or "row 17" when the axis counts rows.
std::string runTimeText(const LogRun& run, int row);

// The cursor read-out's line: "Row 5 of 120   0.500 s", and beside a gap how
// long the ECM was silent: "   gap of 43.000 s after this row" (or "before").
std::string cursorReadoutText(const LogRun& run, int row);

}  // namespace tavo
