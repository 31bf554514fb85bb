#pragma once
// The user's choice of serial port and line speeds, stored in Logging.cfg.

#include <cstdint>

namespace tavo {

struct SerialSettings {
    std::int32_t port = 1;       // serial port number, 1 to 4
    std::int32_t lowSpeed = 1;   // choice 1 to 4 of the wake-up speed
    std::int32_t highSpeed = 1;  // choice 1 to 4 of the logging speed
};

enum class SpeedGroup { Low = 0, High = 1 };

// The line rate of a speed choice; choices outside 1 to 4 fall back to the
// first (976 baud low, 7812 baud high).
int baudForSpeed(int group, int choice);

}  // namespace tavo
