#pragma once
// tavo's link options: --serial-device PATH (every port number opens PATH
// for this run) and --simulated-ecm (a simulated ECM runs inside TaVO on a
// pseudo-terminal, and the link uses it).

#include <memory>
#include <string>

#include "SimulatedEcm.h"

namespace tavo {

struct AppState;

struct LinkOptions {
    std::string serialDevice;
    bool simulatedEcm = false;
    std::string error;  // a usage fault; empty when the options fit
};

// Takes the link options out of argv (argc shrinks), leaving every other
// argument, byte for byte, to the rest of start-up.
LinkOptions takeLinkOptions(int& argc, char** argv);

// Points the link at the chosen device, starting the simulated ECM when
// asked; nothing and a message in `error` when it cannot start.
std::unique_ptr<sim::SimulatedEcm> applyLinkOptions(const LinkOptions& options, AppState& state,
                                                     std::string& error);

}  // namespace tavo
