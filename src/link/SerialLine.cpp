#include "link/SerialLine.h"

#include <thread>

namespace tavo {

std::chrono::microseconds SystemClock::now()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClock::sleepFor(std::chrono::microseconds duration)
{
    std::this_thread::sleep_for(duration);
}

}  // namespace tavo
