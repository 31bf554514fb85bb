#pragma once
// The one table of tavo-cli's commands: each command's words, options and
// one-line summary. It drives the usage text, the dispatch, the parsing of
// each command line and each command's --help, so a command cannot be listed
// in one and missing in another.

#include <iosfwd>
#include <string>
#include <vector>

namespace tavo {

struct Arguments;

struct CliOption {
    std::string name;   // "--json"
    std::string value;  // what it takes ("FILE"); empty for a flag
    std::string help;
};

using CliCommandRun = int (*)(const Arguments& args, std::ostream& out, std::ostream& err);

struct CliCommand {
    std::string name;
    std::vector<std::string> words;  // the positional words, all required: {"ROM", "KEY"}
    std::string synopsis;            // the options as the usage line shows them
    std::string summary;
    std::vector<CliOption> options;
    CliCommandRun run = nullptr;
    // The exit status for trouble (a usage error, output that could not be
    // written): 2 for a command whose 1 means something else (diff).
    int troubleStatus = 1;
    int usageStatus = 2;
};

const std::vector<CliCommand>& cliCommands();
const CliCommand* findCliCommand(const std::string& name);

// "usage: tavo-cli COMMAND ..." and one line per command.
std::string cliUsage();
// "usage: tavo-cli log --device PATH ...": the command's line of the usage.
std::string cliCommandUsage(const CliCommand& command);
// What a command's words are, for its --help.
std::string cliWordHelp(const std::string& word);

}  // namespace tavo
