#include "review/LogRunReader.h"

#include <charconv>
#include <cmath>
#include <filesystem>

#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "common/UserPrompts.h"

namespace tavo {

namespace {

constexpr std::string_view kCsvStart = "row,seconds";

// One CSV record from `at` on: fields split at commas, quoted fields with ""
// for a quote and line breaks kept; the record ends at an unquoted line break.
class CsvRecords {
public:
    explicit CsvRecords(std::string_view text) : text_(text) {}

    bool atEnd() const { return at_ >= text_.size(); }
    int line() const { return line_; }

    // False for a quote left open at the end.
    bool next(std::vector<std::string>& fields)
    {
        fields.assign(1, std::string());
        bool quoted = false;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (quoted) {
                if (c == '"' && at_ < text_.size() && text_[at_] == '"') {
                    fields.back() += '"';
                    ++at_;
                } else if (c == '"') {
                    quoted = false;
                } else {
                    if (c == '\n')
                        ++line_;
                    fields.back() += c;
                }
            } else if (c == '"') {
                quoted = true;
            } else if (c == ',') {
                fields.emplace_back();
            } else if (c == '\n') {
                ++line_;
                break;
            } else if (c != '\r' || (at_ < text_.size() && text_[at_] != '\n')) {
                fields.back() += c;
            }
        }
        return !quoted;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

bool wholeNumber(std::string_view text, long long& value)
{
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool decimalNumber(std::string_view text, double& value)
{
    if (text.empty() || text.front() == '+')
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

LogRunRead refuse(std::string problem)
{
    return {std::nullopt, std::move(problem)};
}

// A field as a message quotes it: long ones cut.
std::string shown(const std::string& field)
{
    constexpr std::size_t kLongest = 24;
    return field.size() <= kLongest ? field : field.substr(0, kLongest) + "...";
}

std::string lineText(int line)
{
    return "Line " + std::to_string(line) + ": ";
}

// Times that are exactly row x one whole number of milliseconds are the
// nominal ones log2csv writes; the period is read from the last row.
void settleTimes(LogRun& run, const std::vector<long long>& rows)
{
    run.times = RunTimes::Measured;
    if (rows.size() < 2 || rows.back() <= 0)
        return;
    const double period = std::round(run.seconds.back() * 1000.0 / static_cast<double>(rows.back()));
    if (period < 1 || period > 1e6)
        return;
    for (std::size_t k = 0; k < rows.size(); ++k)
        if (std::fabs(run.seconds[k] * 1000.0 - static_cast<double>(rows[k]) * period) > 0.01)
            return;
    run.times = RunTimes::Nominal;
    run.periodMs = static_cast<std::int32_t>(period);
}

}  // namespace

LogRunRead readCsvRun(std::string_view bytes, const LogChannels& titles)
{
    CsvRecords records(bytes);
    std::vector<std::string> header;
    if (!records.next(header) || header.size() < 2 || header[0] != "row" || header[1] != "seconds")
        return refuse("It is not a CSV that TaVO wrote: the first line does not start with \"row,seconds\".");
    std::vector<std::string> columns(header.begin() + 2, header.end());
    for (std::string& title : columns)
        title = toUtf8(title);
    const std::vector<int> slots = slotsForTitles(columns, titles);
    if (slots.size() != columns.size())
        return refuse("It has more channel columns than a log holds (eight channels and Custom).");

    LogRun run;
    for (std::size_t c = 0; c < columns.size(); ++c)
        run.channels.push_back({columns[c], slots[c], {}});
    std::vector<long long> rows;
    std::vector<std::string> fields;
    while (!records.atEnd()) {
        const int line = records.line();
        if (!records.next(fields))
            return refuse(lineText(line) + "a quoted field is not closed.");
        if (fields.size() == 1 && fields[0].empty())
            continue;
        if (fields.size() != header.size())
            return refuse(lineText(line) + "it has " + std::to_string(fields.size()) + " fields, the header " +
                          std::to_string(header.size()) + ".");
        long long row = 0;
        double seconds = 0;
        if (!wholeNumber(fields[0], row))
            return refuse(lineText(line) + "the row \"" + shown(fields[0]) + "\" is not a whole number.");
        if (!decimalNumber(fields[1], seconds))
            return refuse(lineText(line) + "the seconds \"" + shown(fields[1]) + "\" are not a number.");
        // A clock that stepped back while logging must not make the run
        // unreadable: such a row keeps the time of the row before it.
        if (!run.seconds.empty() && seconds < run.seconds.back()) {
            seconds = run.seconds.back();
            ++run.heldTimes;
        }
        for (std::size_t c = 0; c < columns.size(); ++c) {
            long long value = 0;
            if (!wholeNumber(fields[c + 2], value) || value > 255)
                return refuse(lineText(line) + "the value \"" + shown(fields[c + 2]) + "\" of " + shown(columns[c]) +
                              " is not a byte (0 to 255).");
            run.channels[c].values.push_back(static_cast<std::uint8_t>(value));
        }
        rows.push_back(row);
        run.seconds.push_back(seconds);
    }
    settleTimes(run, rows);
    if (run.times == RunTimes::Measured)
        run.gaps = findGaps(run.seconds);
    run.csvBytes = std::string(bytes);
    return {std::move(run), {}};
}

LogRunRead readLogRun(std::string_view bytes, const LogChannels& titles)
{
    if (bytes.substr(0, kCsvStart.size()) == kCsvStart) {
        LogRunRead csv = readCsvRun(bytes, titles);
        // A log file's header may spell "row,seconds" too (its writePos and
        // mask are any bytes): of a log file's length and no CSV, it is one;
        // and so it is when it holds a NUL byte, which no CSV TaVO writes
        // holds and every log file does (a row's unused slots).
        const bool logFile =
            bytes.size() == kLogFileSize && (!csv.run || bytes.find('\0') != std::string_view::npos);
        if (!logFile)
            return csv;
    }
    if (const auto log = decodeLogFile(bytes))
        return {logRunOf(*log, titles), {}};
    return refuse("It is neither a TaVO log file (" + std::to_string(kLogFileSize) + " bytes, this one " +
                  std::to_string(bytes.size()) + ") nor a CSV that TaVO wrote.");
}

LogRunRead readLogRunFile(const std::string& path, const LogChannels& titles)
{
    const FileContent content = readWholeFile(path, kMostReviewBytes);
    if (!content.status)
        return refuse(content.status.reason());
    return readLogRun(std::string_view(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size()),
                      titles);
}

std::optional<OpenedLog> openLogForReview(UserPrompts& prompts, const std::string& folder, const LogChannels& titles)
{
    FileRequest request;
    request.title = "Open Log";
    request.filterName = "Log Files";
    request.pattern = "*.log *.csv";
    // Inside the log folder when there is one, else where the chooser
    // starts by itself: opening never makes the folder.
    std::error_code ignored;
    if (std::filesystem::is_directory(folder, ignored))
        request.initialPath = folder;
    const auto path = prompts.chooseFileToOpen(request);
    if (!path)
        return std::nullopt;
    LogRunRead read = readLogRunFile(*path, titles);
    if (!read.run) {
        prompts.showMessage("Unable to read the log file:\n" + *path + "\n" + read.problem, "TaVO Error",
                            MessageIcon::Warning);
        return std::nullopt;
    }
    return OpenedLog{*path, std::move(*read.run)};
}

}  // namespace tavo
