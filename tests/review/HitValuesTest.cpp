// What a second channel did at each table point, over the rows the hit rule
// gives the point.
#include <gtest/gtest.h>

#include "review/HitValues.h"
#include "review/LogRun.h"
#include "review/ReviewLogs.h"

namespace tavo {
namespace {

TEST(HitValues, each_point_sums_up_the_rows_that_counted_for_it_by_the_hit_rule)
{
    // Points at x 10, 20, 20 (its twin shadows it), 40 and 60. MAP (channel 4)
    // feeds x: 9 below, 15 a tie (the lower x), 20 the first of equal x, 30 a
    // tie, 41 nearest 40, 61 above; the custom address is the value.
    const LogRun run = logRunOf(
        test::knownLog({3, 8}, {{9, 10, 15, 20, 30, 31, 41, 61}, {200, 5, 7, 100, 50, 0, 255, 1}}),
        test::defaultTitles());
    const std::vector<PointValues> values = pointValues({10, 20, 20, 40, 60}, run.channels[0].values,
                                                        run.channels[1].values);
    ASSERT_EQ(values.size(), 5u);
    EXPECT_EQ(values[0].rows, 2);
    EXPECT_EQ(values[0].mean, 6.0);
    EXPECT_EQ(values[0].min, 5);
    EXPECT_EQ(values[0].max, 7);
    EXPECT_EQ(values[1].rows, 2) << "20 and the tie at 30";
    EXPECT_EQ(values[1].mean, 75.0);
    EXPECT_EQ(values[2].rows, 0) << "shadowed by the first point of its x";
    EXPECT_FALSE(values[2].mean || values[2].min || values[2].max);
    EXPECT_EQ(values[3].mean, 127.5);
    EXPECT_EQ(values[3].min, 0);
    EXPECT_EQ(values[3].max, 255);
    EXPECT_EQ(values[4].rows, 0) << "no row near 60: 61 lies above the table";
    EXPECT_EQ(values[0].rows + values[1].rows + values[3].rows, 6) << "the rows below and above count for none";

    EXPECT_TRUE(pointValues({}, {1, 2}, {3, 4}).empty());
    EXPECT_EQ(pointValues({10}, {10, 10, 10}, {1, 1}).front().rows, 2) << "rows of both channels only";
    EXPECT_DOUBLE_EQ(roundedMean(4.0 / 3.0), 1.333);
}

TEST(HitValues, through_a_scale_the_mean_scales_and_a_negative_factor_swaps_least_and_greatest)
{
    const PointValues point{2, 75.0, 50, 100};
    const auto celsius = scaledPointValues(point, {0.5, -40, "°C"});
    ASSERT_TRUE(celsius);
    EXPECT_DOUBLE_EQ(celsius->mean, -2.5);
    EXPECT_DOUBLE_EQ(celsius->min, -15);
    EXPECT_DOUBLE_EQ(celsius->max, 10);
    const auto falling = scaledPointValues(point, {-1, 100, ""});
    EXPECT_DOUBLE_EQ(falling->min, 0) << "the greatest raw byte";
    EXPECT_DOUBLE_EQ(falling->max, 50);
    EXPECT_FALSE(scaledPointValues(PointValues{}, {1, 0, ""}));

    using Texts = std::array<std::string, 3>;
    EXPECT_EQ(pointValueTexts(point, std::nullopt), (Texts{"75", "50", "100"}));
    EXPECT_EQ(pointValueTexts({3, 4.0 / 3.0, 1, 2}, std::nullopt), (Texts{"1.333", "1", "2"}));
    EXPECT_EQ(pointValueTexts(point, ChannelScale{0.5, -40, "°C"}), (Texts{"-2.5", "-15", "10"}))
        << "the unit goes in the heading";
    EXPECT_EQ(pointValueTexts(PointValues{}, ChannelScale{0.5, -40, "°C"}), (Texts{"-", "-", "-"}));
}

}  // namespace
}  // namespace tavo
