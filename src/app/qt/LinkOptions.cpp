#include "app/qt/LinkOptions.h"

#include "app/AppState.h"
#include "app/StartOptions.h"
#include "SimulatedEcm.h"

namespace tavo {

std::shared_ptr<void> applyLinkOptions(const StartOptions& options, AppState& state, std::string& error)
{
    if (!options.simulatedEcm) {
        state.serialDevice = options.serialDevice;
        return nullptr;
    }
    auto simulator = std::make_shared<sim::SimulatedEcm>();
    if (!simulator->start(sim::SimOptions{}, error))
        return nullptr;
    state.serialDevice = simulator->devicePath();
    return simulator;
}

}  // namespace tavo
