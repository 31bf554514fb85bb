#pragma once
// Which device a port number opens.

#include <optional>
#include <string>

namespace tavo {

// With `deviceOverride` set (tavo --serial-device, the simulated ECM), every
// port number opens that device. Otherwise port n (1 to 4) opens the n-th
// USB serial adapter on Linux, /dev/ttyUSB{n-1}, and COMn on Windows
// (\\.\COMn); a number outside 1 to 4 opens nothing.
std::optional<std::string> portDevice(int port, const std::string& deviceOverride = {});

}  // namespace tavo
