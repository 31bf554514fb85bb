#pragma once
// The command line of `tavo`: its options with their one-line help, and what
// a given command line asks for. Qt takes its own options (-platform, -style,
// ...) out of the arguments before they get here.
//
// A new option is one line in the table in StartOptions.cpp and a field here.

#include <span>
#include <string>
#include <vector>

namespace tavo {

struct StartOptions {
    bool help = false;
    bool version = false;
    std::string imagePath;  // the image to open at start-up; empty for none
    std::string serialDevice;   // every port number opens this device
    bool simulatedEcm = false;  // a simulated ECM inside TaVO, on a pty
    bool simulatedEcmInstant = false;  // that ECM without line timing
    std::string error;      // why the command line does not fit; empty when it does
};

struct StartOption {
    const char* name;       // "--version"
    const char* shortName;  // "-h", or nullptr
    const char* valueName;  // "DEVICE" for an option taking a value, else nullptr
    const char* help;       // one line
    bool StartOptions::*flag = nullptr;          // set by an option without a value
    std::string StartOptions::*value = nullptr;  // filled by an option with one
};

// Every option, in the order --help lists them.
std::span<const StartOption> startOptions();

// The arguments after the program name. Options take their value as the
// next argument or after "="; "--" ends the options; one image at most.
StartOptions parseStartOptions(const std::vector<std::string>& arguments);

// "--help": the usage line, what the program does, one line per option.
std::string startHelpText();
// "--version": "tavo" and the version.
std::string startVersionText();

}  // namespace tavo
