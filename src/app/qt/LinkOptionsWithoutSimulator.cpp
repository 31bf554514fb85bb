// The link options in a build without the simulated ECM (Windows: it needs
// a pseudo-terminal). --serial-device works as everywhere.
#include "app/AppState.h"
#include "app/StartOptions.h"
#include "app/qt/LinkOptions.h"

namespace tavo {

std::shared_ptr<void> applyLinkOptions(const StartOptions& options, AppState& state, std::string& error)
{
    if (options.simulatedEcm) {
        error = "--simulated-ecm is not in this build (it needs a pseudo-terminal); "
                "run tavo-ecm-sim on Linux instead";
        return nullptr;
    }
    state.serialDevice = options.serialDevice;
    return nullptr;
}

}  // namespace tavo
