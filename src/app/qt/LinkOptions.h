#pragma once
// What tavo's link options start: --serial-device DEVICE makes every port
// number open DEVICE for the run; --simulated-ecm runs a simulated ECM inside
// TaVO on a pseudo-terminal and points the link at it.

#include <memory>
#include <string>

#include "SimulatedEcm.h"

namespace tavo {

struct AppState;
struct StartOptions;

// Points the link at the chosen device, starting the simulated ECM when
// asked (it runs until the returned object goes); nothing and a message in
// `error` when it cannot start.
std::unique_ptr<sim::SimulatedEcm> applyLinkOptions(const StartOptions& options, AppState& state,
                                                     std::string& error);

}  // namespace tavo
