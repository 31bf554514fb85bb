// tavo-cli log2csv: a log file as CSV, titles from the logging configuration.
#include <ostream>

#include "cli/CliSupport.h"
#include "common/AtomicFile.h"
#include "logging/LogCsv.h"
#include "logging/LoggingConfig.h"
#include "review/LogRunReader.h"

namespace tavo {

std::optional<LogFileContent> readLogFile(const std::string& path, std::ostream& err)
{
    const FileContent content = readFileStart(path, kLogFileSize + 1);
    if (!content.status) {
        err << "tavo-cli: unable to read " << terminalText(path) << ": " << content.status.reason() << '\n';
        return std::nullopt;
    }
    auto log = decodeLogFile(std::string_view(reinterpret_cast<const char*>(content.bytes.data()),
                                              content.bytes.size()));
    if (!log)
        err << "tavo-cli: " << terminalText(path) << " is not a log file: a log file has " << kLogFileSize
            << " bytes, this one " << content.size << '\n';
    return log;
}

std::optional<LogRun> readReviewRun(const std::string& path, const LogChannels& titles, std::ostream& err)
{
    LogRunRead read = readLogRunFile(path, titles);
    if (!read.run)
        err << "tavo-cli: unable to read " << terminalText(path) << ": " << terminalText(read.problem) << '\n';
    return std::move(read.run);
}

int cmdLog2Csv(const Arguments& args, std::ostream& out, std::ostream& err)
{
    LoggingConfig config;
    if (!readLoggingConfigFor(args, config, err))
        return 1;
    const auto log = readLogFile(args.words[0], err);
    if (!log)
        return 1;
    const std::string csv = logCsv(*log, config.channels, ringLooksWrapped(*log));
    const auto path = args.option("--out");
    if (!path) {
        out << csv;
        return 0;
    }
    if (const FileStatus written = writeFileAtomically(*path, csv); !written) {
        err << "tavo-cli: unable to write " << terminalText(*path) << ": " << written.reason() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace tavo
