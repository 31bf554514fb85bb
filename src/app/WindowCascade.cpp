#include "app/WindowCascade.h"

#include <algorithm>

namespace tavo {

ScreenRect cascadePlace(const ScreenRect& area, int width, int height, int opened)
{
    ScreenRect place{area.x, area.y, std::clamp(width, 1, std::max(area.width, 1)),
                     std::clamp(height, 1, std::max(area.height, 1))};
    // How many steps fit before the window would stick out on either side.
    const int roomX = (area.width - place.width) / kCascadeStep;
    const int roomY = (area.height - place.height) / kCascadeStep;
    const int steps = std::min(roomX, roomY) + 1;
    const int step = std::max(opened, 0) % std::max(steps, 1);
    place.x += step * kCascadeStep;
    place.y += step * kCascadeStep;
    return place;
}

}  // namespace tavo
