#pragma once
// Why the link could not be made or was lost, and how TaVO says it: the
// system's reason worded for a person, with what to do about it.

#include <optional>
#include <string>

#include "link/SerialLine.h"

namespace tavo {

enum class LinkProblem {
    None,
    NoPort,       // the port number names no device (outside 1 to 4)
    CannotOpen,   // the device could not be opened: `port` says why
    RateRefused,  // the adapter did not take the line rate
    NoResponse,   // the port opened, but the ECM stayed silent
    Aborted,      // the user ended the attempt
    LineLost,     // the device went away under the link (unplugged, closed)
};

struct LinkFailure {
    LinkProblem problem = LinkProblem::None;
    PortStatus port;    // CannotOpen: the system's reason
    int rateAsked = 0;  // RateRefused: the rate asked for
    int rateSet = 0;    // and the one the device reports (0: it did not say)

    static LinkFailure of(LinkProblem problem)
    {
        LinkFailure failure;
        failure.problem = problem;
        return failure;
    }
    explicit operator bool() const { return problem != LinkProblem::None; }
    bool operator==(const LinkFailure& other) const
    {
        return problem == other.problem && port.problem == other.port.problem && rateAsked == other.rateAsked &&
               rateSet == other.rateSet;
    }
};

// The message for a failure on `device` (the port's device; nothing when
// the port number names none, then `port` is said; neither: "the port"). The first line says
// what failed; the lines after it what to do. Empty for None and Aborted.
std::string linkFailureText(const LinkFailure& failure, const std::optional<std::string>& device, int port);

// A line rate is taken when the device reports it within 2 %: a UART
// receives that well, and drivers round odd rates to their clock.
bool rateTaken(int asked, int reported);

}  // namespace tavo
