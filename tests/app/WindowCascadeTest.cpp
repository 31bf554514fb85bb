#include <gtest/gtest.h>

#include "app/WindowCascade.h"

namespace tavo {
namespace {

void expectInside(const ScreenRect& place, const ScreenRect& area)
{
    EXPECT_GE(place.x, area.x);
    EXPECT_GE(place.y, area.y);
    EXPECT_LE(place.x + place.width, area.x + area.width);
    EXPECT_LE(place.y + place.height, area.y + area.height);
}

TEST(WindowCascade, each_window_steps_down_and_right_inside_the_area_and_starts_over_after_ten)
{
    const ScreenRect area{0, 24, 1280, 776};
    EXPECT_EQ(cascadePlace(area, 1000, 600, 0), (ScreenRect{0, 24, 1000, 600}));
    EXPECT_EQ(cascadePlace(area, 1000, 600, 1), (ScreenRect{32, 56, 1000, 600}));
    for (int opened = 0; opened < 25; ++opened)
        expectInside(cascadePlace(area, 1000, 600, opened), area);
    EXPECT_EQ(cascadePlace(area, 1000, 600, 9).y, 24 + 9 * 32);
    EXPECT_EQ(cascadePlace(area, 1000, 600, 10), cascadePlace(area, 1000, 600, 0));
}

TEST(WindowCascade, a_window_as_large_as_the_screen_still_steps_giving_up_some_of_its_size)
{
    // The log window (1240 x 720) on a 1280 x 1024 screen, less the frame.
    const ScreenRect screen{0, 0, 1264, 984};
    const ScreenRect second = cascadePlace(screen, 1240, 720, 1);
    EXPECT_EQ(second, (ScreenRect{32, 32, 1232, 720}));
    // Larger than the area: made to fit it, then stepped within it.
    const ScreenRect small{100, 0, 800, 560};
    EXPECT_EQ(cascadePlace(small, 1240, 720, 0), (ScreenRect{100, 0, 800, 560}));
    for (int opened = 0; opened < 12; ++opened) {
        const ScreenRect place = cascadePlace(small, 1240, 720, opened);
        expectInside(place, small);
        EXPECT_GE(place.width, 600) << "at most a quarter given up";
        EXPECT_GE(place.height, 420);
    }
    EXPECT_NE(cascadePlace(small, 1240, 720, 1), cascadePlace(small, 1240, 720, 0));
}

}  // namespace
}  // namespace tavo
