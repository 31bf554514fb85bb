#pragma once
// Reading a run for review: a log file, or a CSV that TaVO wrote (from "Save
// Current Log...", tavo-cli log2csv or the log window's export). The format
// is told by the content: a CSV starts with its "row,seconds" header, a log
// file is exactly 65548 bytes.

#include <optional>
#include <string>
#include <string_view>

#include "review/LogRun.h"

namespace tavo {

class UserPrompts;

// A file larger than this is no log TaVO wrote (a full ring as CSV is a few
// hundred kilobytes).
inline constexpr std::size_t kMostReviewBytes = 16 * 1024 * 1024;

struct LogRunRead {
    std::optional<LogRun> run;
    std::string problem;  // why there is no run, worded for a person
};

// A CSV TaVO wrote: "row,seconds" and the channel titles, then one line per
// row with a whole row number, the seconds and one byte (0 to 255) a channel.
// A time earlier than the row before it is held at that row's (counted in
// heldTimes). Empty lines are skipped; CRLF line ends are taken.
// Times that are exactly row x a whole number of milliseconds are nominal.
// Channel slots follow slotsForTitles with `titles`.
LogRunRead readCsvRun(std::string_view bytes, const LogChannels& titles);

// Either format, by content; `titles` name a log file's channels. Bytes
// that start as a CSV but are none, and are a log file's length, are a log
// file whose header happens to spell "row,seconds".
LogRunRead readLogRun(std::string_view bytes, const LogChannels& titles);

// readLogRun of the file at `path`; a file that cannot be read says why.
LogRunRead readLogRunFile(const std::string& path, const LogChannels& titles);

struct OpenedLog {
    std::string path;
    LogRun run;
};

// "Open Log...": asks for a log file or a CSV, starting in `folder` when it
// exists, and reads it. Nothing when cancelled, or after saying why it
// cannot be read ("Unable to read the log file:", the path and the reason).
std::optional<OpenedLog> openLogForReview(UserPrompts& prompts, const std::string& folder, const LogChannels& titles);

}  // namespace tavo
