#pragma once
// What tavo's link options start: --serial-device DEVICE makes every port
// number open DEVICE for the run; --simulated-ecm runs a simulated ECM inside
// TaVO on a pseudo-terminal and points the link at it (not on Windows, which
// has no pseudo-terminals: LinkOptionsWithoutSimulator.cpp says so).

#include <memory>
#include <string>

namespace tavo {

struct AppState;
struct StartOptions;

// Points the link at the chosen device, starting the simulated ECM when
// asked; it runs while the returned handle is held. Nothing and a message
// in `error` when it cannot start.
std::shared_ptr<void> applyLinkOptions(const StartOptions& options, AppState& state, std::string& error);

}  // namespace tavo
