// tavo-cli log-graph: the strip chart of a log file as a freshly opened Data
// Logging dialog would show it after replaying the last rows.
#include <algorithm>
#include <ostream>

#include "cli/CliSupport.h"
#include "logging/paint/LogGraphPng.h"

namespace tavo {


int cmdLogGraph(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const auto png = args.option("--png");
    if (!png)
        throw UsageError{"log-graph needs --png OUT"};
    const auto wanted = static_cast<int>(wholeNumber(args, "--ticks", 384, 1, kRingRows));
    const auto log = readLogFile(args.words[0], err);
    if (!log)
        return 1;
    const int logged = loggedRowCount(*log, ringLooksWrapped(*log));
    if (logged == 0) {
        err << "tavo-cli: " << terminalText(args.words[0]) << " holds no logged rows\n";
        return 1;
    }
    const int rows = std::min(wanted, logged);
    if (const FileStatus written = saveLogGraphPng(*png, *log, logged, rows); !written) {
        err << "tavo-cli: unable to write " << terminalText(*png) << ": " << written.reason() << '\n';
        return 1;
    }
    out << "wrote the strip chart of the last " << rows << " rows to " << terminalText(*png) << '\n';
    return 0;
}

}  // namespace tavo
