#include "link/LinkFailure.h"

#include <cstdlib>

namespace tavo {

namespace {

constexpr const char* kSetupHint = "Choose the port and the speeds in \"Setup Serial...\".";

}  // namespace

std::string linkFailureText(const LinkFailure& failure, const std::optional<std::string>& device, int port)
{
    const std::string name = device ? *device : port > 0 ? "Com" + std::to_string(port) + ":" : "the port";
    // A sentence ends "on Com7." rather than "on Com7:.".
    const std::string nameEnding = !name.empty() && name.back() == ':' ? name.substr(0, name.size() - 1) : name;
    switch (failure.problem) {
    case LinkProblem::None:
    case LinkProblem::Aborted:
        return {};
    case LinkProblem::NoPort:
        return "There is no serial port " + nameEnding + ".\n" + kSetupHint;
    case LinkProblem::RateRefused:
        return "The serial adapter on " + name + " refused " + std::to_string(failure.rateAsked) + " baud" +
               (failure.rateSet > 0 ? " (it set " + std::to_string(failure.rateSet) + " baud)" : std::string()) +
               ".\n" + kSetupHint;
    case LinkProblem::NoResponse:
        return "No response from the ECM on " + nameEnding +
               ".\nCheck the cable, that the ignition is on, and the port and the speeds in \"Setup Serial...\".";
    case LinkProblem::LineLost:
        return (device ? "The serial device " + *device : std::string("The serial port")) +
               " went away (was the adapter unplugged?).";
    case LinkProblem::CannotOpen:
        break;
    }
    switch (failure.port.problem) {
    case PortProblem::NoSuchDevice:
        return "There is no serial device " + name + ".\nIs the adapter plugged in? " + kSetupHint;
    case PortProblem::PermissionDenied:
        return "Permission denied opening " + name +
               ".\nAdd yourself to the dialout group (sudo usermod -aG dialout $USER), then log out and in again.";
    case PortProblem::Busy:
        return name + " is in use by another program.\n"
                      "Close it (a terminal program, another TaVO, a modem manager) and try again.";
    case PortProblem::NotSerial:
        return name + " is not a serial device.\n" + kSetupHint;
    case PortProblem::None:
    case PortProblem::Other:
        break;
    }
    return "Unable to open " + name + ": " +
           (failure.port.systemText.empty() ? std::string("unknown error") : failure.port.systemText) + ".";
}

bool rateTaken(int asked, int reported)
{
    return std::abs(static_cast<long long>(reported) - asked) * 50 <= asked;
}

}  // namespace tavo
