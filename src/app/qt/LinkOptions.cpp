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
    // Line-timed unless asked otherwise: "Fastest" then runs at the pace a
    // real car's line allows, not a thousand ticks a second.
    sim::SimOptions simulated;
    simulated.lineTimed = !options.simulatedEcmInstant;
    if (!simulator->start(simulated, error))
        return nullptr;
    state.serialDevice = simulator->devicePath();
    return simulator;
}

}  // namespace tavo
