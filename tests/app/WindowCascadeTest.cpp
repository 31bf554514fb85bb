#include <gtest/gtest.h>

#include "app/WindowCascade.h"

namespace tavo {
namespace {

TEST(WindowCascade, each_window_steps_down_and_right_inside_the_area_and_starts_over_at_its_corner)
{
    const ScreenRect area{0, 24, 1280, 776};
    EXPECT_EQ(cascadePlace(area, 1000, 600, 0), (ScreenRect{0, 24, 1000, 600}));
    EXPECT_EQ(cascadePlace(area, 1000, 600, 1), (ScreenRect{32, 56, 1000, 600}));
    // 176 pixels to spare below: five steps fit, the sixth window starts over.
    for (int opened = 0; opened < 12; ++opened) {
        const ScreenRect place = cascadePlace(area, 1000, 600, opened);
        EXPECT_GE(place.x, area.x);
        EXPECT_GE(place.y, area.y);
        EXPECT_LE(place.x + place.width, area.x + area.width) << opened;
        EXPECT_LE(place.y + place.height, area.y + area.height) << opened;
    }
    EXPECT_EQ(cascadePlace(area, 1000, 600, 6), cascadePlace(area, 1000, 600, 0));
}

TEST(WindowCascade, a_window_larger_than_the_area_is_made_to_fit_it)
{
    const ScreenRect small{100, 0, 800, 560};
    EXPECT_EQ(cascadePlace(small, 1240, 720, 0), (ScreenRect{100, 0, 800, 560}));
    EXPECT_EQ(cascadePlace(small, 1240, 720, 3), (ScreenRect{100, 0, 800, 560}));
}

}  // namespace
}  // namespace tavo
