#include "app/qt/LinkOptions.h"

#include <cstring>

#include "app/AppState.h"

namespace tavo {

LinkOptions takeLinkOptions(int& argc, char** argv)
{
    LinkOptions options;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--simulated-ecm") == 0) {
            options.simulatedEcm = true;
        } else if (std::strcmp(argv[i], "--serial-device") == 0) {
            if (i + 1 >= argc)
                options.error = "--serial-device needs a device path";
            else
                options.serialDevice = argv[++i];
        } else {
            argv[kept++] = argv[i];
        }
    }
    if (options.simulatedEcm && !options.serialDevice.empty())
        options.error = "--simulated-ecm and --serial-device exclude each other";
    argc = kept;
    argv[argc] = nullptr;
    return options;
}

std::unique_ptr<sim::SimulatedEcm> applyLinkOptions(const LinkOptions& options, AppState& state,
                                                     std::string& error)
{
    if (!options.simulatedEcm) {
        state.serialDevice = options.serialDevice;
        return nullptr;
    }
    auto simulator = std::make_unique<sim::SimulatedEcm>();
    if (!simulator->start(sim::SimOptions{}, error))
        return nullptr;
    state.serialDevice = simulator->devicePath();
    return simulator;
}

}  // namespace tavo
