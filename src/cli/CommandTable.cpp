#include "cli/CommandTable.h"

#include <algorithm>

#include "cli/CliSupport.h"

namespace tavo {

namespace {

const CliOption kJson{"--json", "", "print the result as JSON"};
const CliOption kLowSpeed{"--low-speed", "N", "speed choice 1 to 4 of the wake-up"};
const CliOption kHighSpeed{"--high-speed", "N", "speed choice 1 to 4 of the link"};
const CliOption kConfig{"--config", "FILE", "the logging configuration (default: Logging.cfg here)"};

std::vector<CliCommand> makeCommands()
{
    return {
        {"info", {"ROM"}, "[--json]", "ROM information of an image and its .tbl", {kJson}, cmdInfo},
        {"tables", {"ROM"}, "[--json]", "every table definition, in file order", {kJson}, cmdTables},
        {"show", {"ROM", "KEY"}, "[--json]", "one entry's values (KEY: Chrysler name or title)", {kJson}, cmdShow},
        {"save-tables",
         {"ROM"},
         "[--to FILE]",
         "write the definitions back as Save Table Data does",
         {{"--to", "FILE", "write to FILE instead of the image's .tbl"}},
         cmdSaveTables},
        {"graph",
         {"ROM", "KEY"},
         "--png OUT [--compare OTHER]",
         "draw a table's 258 x 258 graph into a PNG file",
         {{"--png", "OUT", "the PNG file to write"},
          {"--compare", "OTHER", "an image whose bytes at the same address are drawn behind"}},
         cmdGraph},
        {"scale",
         {"ROM", "KEY"},
         "--x PCT --y PCT",
         "scale a table as the Scale Table dialog does, and save",
         {{"--x", "PCT", "percentage for the x values"}, {"--y", "PCT", "percentage for the y values"}},
         cmdScale},
        {"scan",
         {"ROM"},
         "[--json] [--write]",
         "add the tables the code addresses; --write stores them",
         {kJson, {"--write", "", "store the tables found in the image's .tbl"}},
         cmdScan},
        {"ram",
         {},
         "--device PATH [--base HEX] [--count N] [--low-speed N --high-speed N] [--config FILE] [--json]",
         "read ECM RAM as Live RAM does; -- for an address that did not answer",
         {{"--device", "PATH", "the serial device of the ECM"},
          {"--base", "HEX", "the first RAM address (default 40)"},
          {"--count", "N", "how many addresses (default 16)"},
          kLowSpeed,
          kHighSpeed,
          kConfig,
          kJson},
         cmdRam},
        {"log",
         {},
         "--device PATH (--ticks N | --seconds S) [--period-ms P] [--channels LIST] [--custom HEX] [--smoothing] "
         "[--low-speed N --high-speed N] [--config FILE] [--out FILE] [--csv FILE] [--json]",
         "log as the Data Logging dialog does; Ctrl+C ends the run and saves it",
         {{"--device", "PATH", "the serial device of the ECM"},
          {"--ticks", "N", "attempt N ticks"},
          {"--seconds", "S", "log for S seconds"},
          {"--period-ms", "P", "the sample period (1: as fast as the line answers; default 125)"},
          {"--channels", "LIST", "channels 1 to 8 and custom, separated by commas (default all eight)"},
          {"--custom", "HEX", "the custom RAM address (default 40)"},
          {"--smoothing", "", "three-point smoothing of 16-bit channels"},
          kLowSpeed,
          kHighSpeed,
          kConfig,
          {"--out", "FILE", "the log file (default: a new HHmmss.log in the log folder)"},
          {"--csv", "FILE", "also write the rows as CSV, with measured seconds"},
          kJson},
         cmdLog},
        {"link-check",
         {},
         "--device PATH [--checks N] [--low-speed N --high-speed N] [--config FILE] [--json]",
         "time the ECM's replies and say whether the line or its USB adapter is slow, and the fix",
         {{"--device", "PATH", "the serial device of the ECM"},
          {"--checks", "N", "how many sync checks to time (default 200)"},
          kLowSpeed,
          kHighSpeed,
          kConfig,
          kJson},
         cmdLinkCheck},
        {"log2csv",
         {"LOG"},
         "[--config FILE] [--out FILE]",
         "a log file as CSV (to stdout without --out)",
         {kConfig, {"--out", "FILE", "the CSV file to write"}},
         cmdLog2Csv},
        {"log-graph",
         {"LOG"},
         "--png OUT [--ticks N]",
         "the strip chart after replaying the last N rows, as PNG",
         {{"--png", "OUT", "the PNG file to write"}, {"--ticks", "N", "how many rows to replay (default 384)"}},
         cmdLogGraph},
        {"log-stats",
         {"LOG"},
         "[--config FILE] [--json]",
         "each logged channel's rows, minimum, maximum, mean and last value",
         {kConfig, kJson},
         cmdLogStats},
        {"log-hits",
         {"ROM", "KEY", "LOG"},
         "--channel N [--value N] [--config FILE] [--json]",
         "how many logged rows fell on each point of a table (N: 1 to 8 or custom)",
         {{"--channel", "N", "the logged channel that feeds the table's x axis: 1 to 8 or custom"},
          {"--value", "N", "a channel whose mean, minimum and maximum over each point's rows are added"},
          kConfig,
          kJson},
         cmdLogHits},
        {"diff",
         {"A", "B"},
         "[--json]",
         "what differs from image A to image B, through A's definitions (exit 0 same, 1 different, 2 trouble)",
         {kJson},
         cmdDiff,
         2},
    };
}

std::string usageLine(const CliCommand& command)
{
    std::string line = command.name;
    for (const std::string& word : command.words)
        line += " " + word;
    if (!command.synopsis.empty())
        line += " " + command.synopsis;
    return line;
}

}  // namespace

const std::vector<CliCommand>& cliCommands()
{
    static const std::vector<CliCommand> commands = makeCommands();
    return commands;
}

const CliCommand* findCliCommand(const std::string& name)
{
    const auto& commands = cliCommands();
    const auto found =
        std::find_if(commands.begin(), commands.end(), [&](const CliCommand& c) { return c.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

std::string cliUsage()
{
    std::string usage = "usage: tavo-cli COMMAND ...\n";
    std::vector<std::pair<std::string, std::string>> lines;
    for (const CliCommand& command : cliCommands())
        lines.emplace_back(usageLine(command), command.summary);
    lines.emplace_back("COMMAND --help", "that command's usage and options");
    lines.emplace_back("--help", "print this help");
    lines.emplace_back("--version", "print the version");
    std::size_t width = 0;
    for (const auto& [syntax, summary] : lines)
        width = std::max(width, std::min<std::size_t>(syntax.size(), 44));
    for (const auto& [syntax, summary] : lines)
        usage += "  " + syntax + std::string(syntax.size() < width ? width - syntax.size() : 0, ' ') + "  " +
                 summary + "\n";
    return usage;
}

std::string cliCommandUsage(const CliCommand& command)
{
    return "usage: tavo-cli " + usageLine(command) + "\n";
}

std::string cliWordHelp(const std::string& word)
{
    if (word == "ROM")
        return "a ROM image, with its .tbl beside it";
    if (word == "KEY")
        return "a Chrysler name or a title";
    if (word == "LOG")
        return "a log file (log-stats and log-hits: or a CSV TaVO wrote)";
    if (word == "A")
        return "a ROM image, with its .tbl beside it: the definitions";
    if (word == "B")
        return "the image compared with A, at A's load offset (its own .tbl is not used)";
    return {};
}

}  // namespace tavo
