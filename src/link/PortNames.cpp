#include "link/PortNames.h"

namespace tavo {

std::optional<std::string> portDevice(int port, const std::string& deviceOverride)
{
    if (!deviceOverride.empty())
        return deviceOverride;
    if (port < 1 || port > 4)
        return std::nullopt;
#if defined(__linux__)
    // USB adapters are what people own; built-in UARTs are rare on laptops.
    return "/dev/ttyUSB" + std::to_string(port - 1);
#elif defined(_WIN32)
    // The line opens it as \\.\COMn; messages name it as people know it.
    return "COM" + std::to_string(port);
#else
    return "/dev/cuaU" + std::to_string(port - 1);
#endif
}

}  // namespace tavo
