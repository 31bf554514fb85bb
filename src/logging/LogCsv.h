#pragma once
// A log as CSV, for spreadsheets and other tools: a header of "row",
// "seconds" and the titles of the logged channels, then one line per logged
// row, oldest first, with the stored 8-bit values as decimal numbers.

#include <string>

#include "logging/LogFile.h"

namespace tavo {

// `wrapped` says whether the ring has wrapped (then all 4096 rows, the
// oldest the one after writePos; else rows 1 to writePos). `row` counts from
// 0; `seconds` is row x samplePeriodMs / 1000 with three decimals. Titles are
// written as UTF-8 (a title that is not UTF-8 is read as Latin-1, as the
// dialogs show it) and quoted when they hold a comma, a quote or a line break.
std::string logCsv(const LogFileContent& log, const LogChannels& channels, bool wrapped);

}  // namespace tavo
