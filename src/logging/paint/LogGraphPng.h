#pragma once
// The strip chart of a saved log as a PNG (tavo-cli log-graph): what a
// freshly opened Data Logging dialog shows after replaying the last rows.

#include <QImage>
#include <string>

#include "common/AtomicFile.h"
#include "logging/LogFile.h"

namespace tavo {

// Starts without a bitmap at phase 0 and draws one column for each of the
// last `rows` logged rows, oldest first, with writePos set to that row; the
// custom address is taken as 0x40. `rows` must lie within 1 and `logged`
// (the log's row count).
QImage replayLogGraph(const LogFileContent& log, int logged, int rows);

// replayLogGraph saved as PNG through the safe save, under exactly the
// bytes of `path`; the status says why it failed.
FileStatus saveLogGraphPng(const std::string& path, const LogFileContent& log, int logged, int rows);

}  // namespace tavo
