#include "app/StartOptions.h"

#include <algorithm>

#include "common/Version.h"

namespace tavo {

namespace {

constexpr StartOption kOptions[] = {
    {"--help", "-h", nullptr, "print this help and exit", &StartOptions::help},
    {"--version", nullptr, nullptr, "print the version and exit", &StartOptions::version},
    {"--serial-device", nullptr, "DEVICE", "every port number opens DEVICE for this run", nullptr,
     &StartOptions::serialDevice},
    {"--simulated-ecm", nullptr, nullptr,
     "run a simulated ECM inside TaVO and link to it; it answers as fast as a real line would",
     &StartOptions::simulatedEcm},
    {"--simulated-ecm-instant", nullptr, nullptr, "the simulated ECM, answering at once (no line timing)",
     &StartOptions::simulatedEcmInstant},
};

const StartOption* findOption(const std::string& name)
{
    for (const StartOption& option : kOptions)
        if (name == option.name || (option.shortName && name == option.shortName))
            return &option;
    return nullptr;
}

std::string optionColumn(const StartOption& option)
{
    std::string text = option.shortName ? std::string(option.shortName) + ", " : std::string("    ");
    text += option.name;
    if (option.valueName)
        text += std::string(" ") + option.valueName;
    return text;
}

}  // namespace

std::span<const StartOption> startOptions()
{
    return kOptions;
}

StartOptions parseStartOptions(const std::vector<std::string>& arguments)
{
    StartOptions result;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size() && result.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            if (result.imagePath.empty())
                result.imagePath = argument;
            else
                result.error = "one image at a time: " + argument;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const StartOption* option = findOption(name);
        if (!option) {
            result.error = "unknown option " + name;
        } else if (!option->valueName) {
            if (equals != std::string::npos)
                result.error = name + " takes no value";
            else
                result.*(option->flag) = true;
        } else if (equals != std::string::npos) {
            result.*(option->value) = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            result.*(option->value) = arguments[++i];
        } else {
            result.error = name + " needs a value (" + option->valueName + ")";
        }
    }
    if (result.simulatedEcmInstant)
        result.simulatedEcm = true;
    if (result.error.empty() && result.simulatedEcm && !result.serialDevice.empty())
        result.error = "--simulated-ecm and --serial-device exclude each other";
    return result;
}

std::string startHelpText()
{
    std::size_t width = 0;
    for (const StartOption& option : kOptions)
        width = std::max(width, optionColumn(option).size());
    std::string text =
        "usage: tavo [OPTION]... [IMAGE]\n"
        "Edits the calibration of Chrysler turbo ECMs. Opens IMAGE, a ROM image with\n"
        "its .tbl definition file beside it, when given.\n\n";
    for (const StartOption& option : kOptions) {
        const std::string column = optionColumn(option);
        text += "  " + column + std::string(width - column.size() + 2, ' ') + option.help + "\n";
    }
    return text;
}

std::string startVersionText()
{
    return std::string("tavo ") + kVersion + "\n";
}

}  // namespace tavo
