// The adapter's latency timer on Linux: the usb-serial driver's sysfs file
// for the tty the device resolves to (a udev link such as
// /dev/serial/by-id/... included).
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "link/LinkCheck.h"

namespace tavo {

AdapterLatency readAdapterLatency(const std::string& device, const std::string& root)
{
    AdapterLatency adapter;
    char resolved[PATH_MAX];
    const std::string path = ::realpath(device.c_str(), resolved) ? std::string(resolved) : device;
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // A pseudo-terminal (the simulated ECM) is no adapter.
    if (name.rfind("tty", 0) != 0)
        return adapter;
    adapter.portName = name;
    std::ifstream file(root + "/bus/usb-serial/devices/" + adapter.portName + "/latency_timer");
    if (!file)
        return adapter;
    std::ostringstream text;
    text << file.rdbuf();
    adapter.timerMs = parseLatencyTimer(text.str());
    return adapter;
}

}  // namespace tavo
