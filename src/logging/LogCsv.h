#pragma once
// A log as CSV, for spreadsheets and other tools: a header of "row",
// "seconds" and the titles of the logged channels, then one line per logged
// row, oldest first, with the stored 8-bit values as decimal numbers.

#include <string>

#include "logging/LogFile.h"

namespace tavo {

// A log file, which holds no times: `seconds` is the nominal row x
// samplePeriodMs / 1000 (the period read as unsigned) with three decimals.
// `wrapped` says whether the ring has wrapped (then all 4096 rows, the
// oldest the one after writePos; else rows 1 to writePos). `row` counts
// from 0. Titles are written as UTF-8 (a title that is not UTF-8 is read as
// Latin-1, as the dialogs show it), control characters shown as ^X, and
// quoted when they hold a comma or a quote.
std::string logCsv(const LogFileContent& log, const LogChannels& channels, bool wrapped);

// The ring as the acquisition holds it, with the time each row's tick
// sampled: `seconds` is measured from the oldest row.
std::string logCsv(const AcquisitionState& state, const LogChannels& channels);

// Whether the acquisition's ring has wrapped: 4096 rows stored or more.
bool ringWrapped(const AcquisitionState& state);

}  // namespace tavo
