#pragma once
// Where a new window of a kind that opens many times (the log windows) goes:
// a cascade inside the screen's available area, so that no window opens
// partly off screen and each one's title bar shows.

namespace tavo {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

inline constexpr int kCascadeStep = 32;

// The place of the window opened while `opened` others of its kind are open:
// the area's top left corner moved `opened` steps right and down (at most
// ten, then again from the corner), the window made smaller where it would
// leave the area, by at most a quarter of its size (fewer steps when even
// that does not fit). A window larger than the area is first made as large
// as the area.
ScreenRect cascadePlace(const ScreenRect& area, int width, int height, int opened);

}  // namespace tavo
