#pragma once
// What every tavo-cli command shares: argument parsing, loading an image
// without prompts, and finding an entry by Chrysler name or title.

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "logging/Acquisition.h"
#include "review/LogRun.h"

namespace tavo {

class EcmLink;
class JsonWriter;
class SerialLine;
class SystemClock;
struct LogFileContent;
struct ReplyTimeSummary;
struct LoggingConfig;
struct SerialSettings;
struct RomImage;
struct TableDef;

// Thrown for a command line that does not fit; runCli prints the usage and exits 2.
struct UsageError {
    std::string message;
};

// A command line as the command table's parser took it.
struct Arguments {
    std::vector<std::string> words;              // the command's words, in order
    std::set<std::string> flags;                 // --json, --write
    std::map<std::string, std::string> options;  // --to FILE, --png OUT, ...

    bool json() const { return flags.count("--json") > 0; }
    bool flag(const std::string& name) const { return flags.count(name) > 0; }
    std::optional<std::string> option(const std::string& name) const;
};

// The whole number of option `name` (fallback when absent); a UsageError
// when it is no number or lies outside minimum..maximum.
std::int64_t wholeNumber(const Arguments& args, const std::string& name, std::int64_t fallback, std::int64_t minimum,
                         std::int64_t maximum);

// The logging configuration of --config FILE, else of Logging.cfg in the
// current directory, else the defaults when there is none. False (the reason
// said on err) when the file named or found cannot be read.
bool readLoggingConfigFor(const Arguments& args, LoggingConfig& config, std::ostream& err);
// The speeds --low-speed and --high-speed (both or neither, choices 1 to 4)
// into `settings`; left as they are when not given.
void applySpeedOptions(const Arguments& args, SerialSettings& settings);

// The ECM link of a command that talks to the ECM: the system's serial line,
// the wall clock and the link over them.
class CliLink {
public:
    CliLink();
    ~CliLink();
    CliLink(const CliLink&) = delete;
    CliLink& operator=(const CliLink&) = delete;

    // Opens the system's serial line and runs the connection procedure on
    // `device`; false (the reason said on err) when this build has no serial
    // line or the ECM could not be reached.
    bool connect(const std::string& device, const SerialSettings& settings, std::ostream& err);
    EcmLink& link() { return *link_; }
    SystemClock& clock() { return *clock_; }

private:
    std::unique_ptr<SerialLine> line_;
    std::unique_ptr<SystemClock> clock_;
    std::unique_ptr<EcmLink> link_;
};

// "replyMs": {"median": 0.4, "p95": 0.5, "count": 412} (median and p95 null
// before any reply), as the next key of an object being written.
void writeReplyTimes(JsonWriter& json, const ReplyTimeSummary& replies);
// "tavo-cli: reply times: median 0.4 ms, 95th percentile 0.5 ms over 412 replies"
std::string replyTimesLine(const ReplyTimeSummary& replies);

// Loads an image with its existing .tbl; nothing when it cannot (the reason
// written to err once: TaVO's own message for a refused image).
std::unique_ptr<RomImage> loadImage(const std::string& path, std::ostream& err);

// Text from a file made safe for a terminal: control characters (C0 but tab,
// DEL, and C1 written as UTF-8) are shown as ^X or "?" instead of reaching
// the terminal, so a crafted .tbl cannot move the cursor or retitle the
// window. Line breaks are kept only when asked for.
std::string terminalText(std::string_view text, bool keepLineBreaks = false);

// An entry by Chrysler name (first match, any case), else by title; -1 if none.
int findEntry(const RomImage& rom, const std::string& key);
// findEntry, saying on err when there is no such entry.
int findEntryOrSay(const RomImage& rom, const std::string& key, std::ostream& err);

// The image the first word names, into `rom`, and its entry the second word
// names; null when either is missing (the reason said on err).
TableDef* loadEntry(std::unique_ptr<RomImage>& rom, const Arguments& args, std::ostream& err);

// The log file at `path`; nothing (the reason said on err) when it cannot
// be read or is not one.
std::optional<LogFileContent> readLogFile(const std::string& path, std::ostream& err);

// A run for review, read as the log window reads it: a log file or a CSV
// TaVO wrote, its channels named by `titles`; nothing (the reason said on
// err) when it cannot be read or is neither.
std::optional<LogRun> readReviewRun(const std::string& path, const LogChannels& titles, std::ostream& err);

// The commands of the command table.
int cmdInfo(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdTables(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdSaveTables(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdShow(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdGraph(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdScale(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdScan(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdRam(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdLog(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdLinkCheck(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdLog2Csv(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdLogGraph(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdLogStats(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdLogHits(const Arguments& args, std::ostream& out, std::ostream& err);
int cmdDiff(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace tavo
