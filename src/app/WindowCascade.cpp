#include "app/WindowCascade.h"

#include <algorithm>

namespace tavo {

namespace {

// A cascade starts over after this many windows, however large the screen.
constexpr int kMostSteps = 10;

}  // namespace

ScreenRect cascadePlace(const ScreenRect& area, int width, int height, int opened)
{
    const int areaWidth = std::max(area.width, 1);
    const int areaHeight = std::max(area.height, 1);
    const int w = std::clamp(width, 1, areaWidth);
    const int h = std::clamp(height, 1, areaHeight);
    // A window gives up at most a quarter of its size to its place in the
    // cascade: a window as large as the screen still steps down and right.
    const int roomX = (areaWidth - w * 3 / 4) / kCascadeStep;
    const int roomY = (areaHeight - h * 3 / 4) / kCascadeStep;
    const int steps = std::clamp(std::min(roomX, roomY) + 1, 1, kMostSteps);
    const int offset = (std::max(opened, 0) % steps) * kCascadeStep;
    return {area.x + offset, area.y + offset, std::min(w, areaWidth - offset), std::min(h, areaHeight - offset)};
}

}  // namespace tavo
