#include "link/SerialSettings.h"

namespace tavo {

int baudForSpeed(int group, int choice)
{
    // The first low-speed choice is labelled 977 baud but programmed as 976.
    static constexpr int kLow[] = {976, 1200, 7812, 9600};
    static constexpr int kHigh[] = {7812, 9600, 62500, 125000};
    const int index = choice >= 1 && choice <= 4 ? choice - 1 : 0;
    if (group == static_cast<int>(SpeedGroup::High))
        return kHigh[index];
    if (group == static_cast<int>(SpeedGroup::Low))
        return kLow[index];
    return kLow[0];
}

}  // namespace tavo
