#include "cli/CliCommands.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <deque>
#include <cstring>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/CommandTable.h"
#include "common/Version.h"

namespace tavo {

namespace {

// One command's line, parsed by the command's own rules: its words (all
// required), its options and flags, and nothing else.
class CommandLine {
public:
    explicit CommandLine(const CliCommand& command)
        : app_(command.summary, "tavo-cli " + command.name), words_(command.words.size()),
          values_(command.options.size()), flags_(command.options.size()), command_(command)
    {
        app_.get_formatter()->column_width(34);
        for (std::size_t i = 0; i < command.words.size(); ++i)
            app_.add_option(command.words[i], words_[i], cliWordHelp(command.words[i]))->required();
        for (std::size_t i = 0; i < command.options.size(); ++i) {
            const CliOption& option = command.options[i];
            // A flag given a value takes it as a truth value: --json=false
            // and --json=0 turn it off, a value that is none is refused.
            if (option.value.empty())
                app_.add_flag(option.name, flags_[i], option.help);
            else
                app_.add_option(option.name, values_[i], option.help)->option_text(option.value);
        }
    }

    // Throws CLI11's errors: CallForHelp for --help, ParseError for a line that does not fit.
    Arguments parse(const std::vector<std::string>& args)
    {
        // CLI11 takes the words last first.
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app_.parse(reversed);
        Arguments parsed;
        parsed.words = words_;
        for (std::size_t i = 0; i < command_.options.size(); ++i) {
            const CliOption& option = command_.options[i];
            if (app_.count(option.name) == 0)
                continue;
            if (option.value.empty()) {
                if (flags_[i])
                    parsed.flags.insert(option.name);
            } else
                parsed.options[option.name] = values_[i];
        }
        return parsed;
    }

    std::string help() const { return app_.help(); }

private:
    CLI::App app_;
    std::vector<std::string> words_;
    std::vector<std::string> values_;
    std::deque<bool> flags_;  // stays in place while CLI11 holds references to its elements
    const CliCommand& command_;
};

// What a command printed must have reached its reader: a full disk or a
// closed pipe is a failure, not a success.
int checkedOutput(int code, std::ostream& out, std::ostream& err, int troubleStatus = 1)
{
    errno = 0;
    out.flush();
    if (out)
        return code;
    const int error = errno;
    err << "tavo-cli: unable to write the output" << (error != 0 ? std::string(": ") + std::strerror(error) : "")
        << '\n';
    return troubleStatus;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        (args.empty() ? err : out) << cliUsage();
        return args.empty() ? 2 : checkedOutput(0, out, err);
    }
    if (args[0] == "--version") {
        out << "tavo-cli " << kVersion << '\n';
        return checkedOutput(0, out, err);
    }
    const CliCommand* command = findCliCommand(args[0]);
    if (!command) {
        err << "tavo-cli: unknown command " << terminalText(args[0]) << '\n' << cliUsage();
        return 2;
    }
    CommandLine line(*command);
    try {
        const Arguments parsed = line.parse(std::vector<std::string>(args.begin() + 1, args.end()));
        return checkedOutput(command->run(parsed, out, err), out, err, command->troubleStatus);
    } catch (const CLI::CallForHelp&) {
        out << line.help();
        return checkedOutput(0, out, err, command->troubleStatus);
    } catch (const CLI::ParseError& error) {
        err << "tavo-cli " << command->name << ": " << terminalText(error.what()) << '\n'
            << cliCommandUsage(*command) << "(tavo-cli " << command->name << " --help says more)\n";
        return command->usageStatus;
    } catch (const UsageError& usage) {
        err << "tavo-cli " << command->name << ": " << terminalText(usage.message) << '\n'
            << cliCommandUsage(*command) << "(tavo-cli " << command->name << " --help says more)\n";
        return command->usageStatus;
    }
}

}  // namespace tavo
