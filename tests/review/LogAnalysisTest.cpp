#include <gtest/gtest.h>

#include "SampleCalibration.h"
#include "review/ChannelScales.h"
#include "review/HitCounts.h"
#include "review/HitPictureGeometry.h"
#include "review/LogStatistics.h"
#include "review/ReviewLogs.h"
#include "rom/RomImage.h"
#include "tables/TableLookup.h"

namespace tavo {
namespace {

TEST(LogStatistics, of_a_known_log_per_channel_and_nothing_for_a_run_without_rows)
{
    const LogRun run = logRunOf(test::knownLog({1, 8}, {{10, 41, 20, 30}, {1, 2, 2, 0}}), test::defaultTitles());
    const std::vector<ChannelStatistics> all = channelStatistics(run);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].title, "Vehicle Speed");
    EXPECT_EQ(all[0].slot, 1);
    EXPECT_EQ(all[0].rows, 4);
    EXPECT_EQ(all[0].min, 10);
    EXPECT_EQ(all[0].max, 41);
    EXPECT_EQ(all[0].mean, 25.25);
    EXPECT_EQ(all[0].last, 30) << "the newest row";
    EXPECT_EQ(all[1].title, "Custom");
    EXPECT_DOUBLE_EQ(*all[1].mean, 1.25);

    const LogRun thirds = logRunOf(test::knownLog({0}, {{1, 2, 2}}), test::defaultTitles());
    EXPECT_DOUBLE_EQ(*channelStatistics(thirds)[0].mean, 1.667) << "rounded to three decimals";

    LogFileContent empty;
    empty.channelMask = 0b11;
    const std::vector<ChannelStatistics> none = channelStatistics(logRunOf(empty, test::defaultTitles()));
    ASSERT_EQ(none.size(), 2u);
    EXPECT_EQ(none[0].rows, 0);
    EXPECT_FALSE(none[0].min || none[0].max || none[0].mean || none[0].last);
}

TEST(HitCounts, nearest_x_wins_the_lower_x_on_a_tie_the_first_of_equal_x_and_outside_counts_apart)
{
    const std::vector<int> xs{10, 20, 20, 40};
    const auto lookup = hitLookup(xs);
    EXPECT_EQ(lookup[9], kHitBelow);
    EXPECT_EQ(lookup[10], 0);
    EXPECT_EQ(lookup[15], 0) << "half way between 10 and 20: the lower x";
    EXPECT_EQ(lookup[16], 1);
    EXPECT_EQ(lookup[20], 1) << "equal x: the first point";
    EXPECT_EQ(lookup[30], 1) << "half way between 20 and 40: the lower x";
    EXPECT_EQ(lookup[31], 3);
    EXPECT_EQ(lookup[40], 3);
    EXPECT_EQ(lookup[41], kHitAbove);

    const HitCounts counts = countHits(xs, {9, 10, 15, 16, 20, 30, 31, 40, 41, 255});
    EXPECT_EQ(counts.hits, (std::vector<int>{2, 3, 0, 2}));
    EXPECT_EQ(counts.rows, 10);
    EXPECT_EQ(counts.below, 1);
    EXPECT_EQ(counts.above, 2);

    // Table order is not x order: the lower x still wins a tie.
    EXPECT_EQ(hitLookup({40, 20, 10})[15], 2);
    EXPECT_EQ(hitLookup({40, 20, 10})[30], 1);
    const HitCounts pointless = countHits({}, {1, 2});
    EXPECT_EQ(pointless.rows, 2);
    EXPECT_EQ(pointless.below + pointless.above, 0) << "no table x to be below or above";
}

TEST(HitCounts, each_point_owns_one_run_of_values_and_a_shadowed_point_none)
{
    const std::vector<HitCell> cells = hitCells({10, 20, 20, 40});
    EXPECT_EQ(cells[0].first, 10);
    EXPECT_EQ(cells[0].last, 15);
    EXPECT_EQ(cells[1].first, 16);
    EXPECT_EQ(cells[1].last, 30);
    EXPECT_GT(cells[2].first, cells[2].last);
    EXPECT_EQ(cells[3].first, 31);
    EXPECT_EQ(cells[3].last, 40);
}

TEST(HitCounts, table_points_read_as_show_gives_them)
{
    const auto rom = sample::makeSampleCalibration();
    auto entry = [&rom](const char* name) { return &rom->tables[static_cast<std::size_t>(findTableIndex(*rom, name))]; };
    const std::vector<TablePoint> knock = tablePoints(*rom, *entry("KNKRET"));
    ASSERT_EQ(knock.size(), 7u);
    EXPECT_EQ(knock[6].y, -12) << "Signed y";
    const std::vector<TablePoint> pulse = tablePoints(*rom, *entry("INJPW"));
    ASSERT_EQ(pulse.size(), 8u);
    EXPECT_EQ(pulse[7].y, 7100) << "the 16-bit Y";
    EXPECT_TRUE(tablePoints(*rom, *entry("REVLIM")).empty());
}

TEST(HitPicture, shades_each_cell_by_its_share_bars_the_points_and_staggers_counts_that_would_touch)
{
    EXPECT_EQ(labelRows({10, 20, 60, 24}, {20, 20, 20, 6}, 4), (std::vector<int>{0, 1, 0, 2}));

    const std::vector<int> xs{10, 20, 20, 40};
    const HitCounts counts{{8, 4, 0, 2}, 20, 3, 3};
    const HitPicture picture = hitPicture(xs, counts, {10, 10, 10, 10}, 2);
    EXPECT_EQ(picture.graphSize, 516);
    ASSERT_EQ(picture.shades.size(), 3u) << "the shadowed point has no cell";
    EXPECT_EQ(picture.shades[0].left, kHitMargin + 20);
    EXPECT_EQ(picture.shades[0].width, 12) << "values 10 to 15, two pixels each";
    EXPECT_DOUBLE_EQ(picture.shades[0].share, 1.0);
    EXPECT_DOUBLE_EQ(picture.shades[1].share, 0.5);
    ASSERT_EQ(picture.bars.size(), 3u) << "no bar without hits";
    EXPECT_EQ(picture.bars[0].height, 154) << "the most hits: 0.3 of the graph";
    EXPECT_EQ(picture.bars[0].top + picture.bars[0].height, kHitMargin + 512) << "from the foot of the curve's field";
    EXPECT_EQ(picture.labels[1].top, picture.labels[0].top) << "20 and 40 pixels apart";
    EXPECT_GT(picture.labels[2].top, picture.labels[1].top) << "the shadowed point's count goes below";
}

TEST(ChannelScales, show_raw_times_factor_plus_offset_with_at_most_three_decimals_and_the_unit)
{
    EXPECT_EQ(scaledText(25, {32, 0, "RPM"}), "800 RPM");
    EXPECT_EQ(scaledText(25, {0.5, -40, "°C"}), "-27.5 °C");
    EXPECT_EQ(scaledText(3, {0.0078125, 0, ""}), "0.023");
    EXPECT_EQ(scaledText(0, {1, -0.0001, ""}), "0");
}

TEST(ChannelScales, the_editor_takes_numbers_forgets_a_scale_when_all_is_empty_and_says_what_it_refuses)
{
    const ScaleEntry taken = parseScaleEntry(" 0.5 ", "", "psi");
    EXPECT_TRUE(taken.problem.empty());
    EXPECT_EQ(taken.scale, (ChannelScale{0.5, 0, "psi"}));
    EXPECT_EQ(parseScaleEntry("1e2", "+3", "").scale, (ChannelScale{100, 3, ""}));
    const ScaleEntry none = parseScaleEntry("", " ", "");
    EXPECT_TRUE(none.problem.empty());
    EXPECT_FALSE(none.scale);
    EXPECT_EQ(parseScaleEntry("", "", "kPa").problem, "The factor is not a number.");
    EXPECT_EQ(parseScaleEntry("1,5", "", "").problem, "The factor is not a number.");
    EXPECT_EQ(parseScaleEntry("0", "", "").problem, "A factor of 0 would show every row as the same value.");
    EXPECT_EQ(parseScaleEntry("1", "x", "").problem, "The offset is not a number.");
    EXPECT_EQ(parseScaleEntry("1", "", std::string(33, 'u')).problem, "The unit is longer than 32 characters.");
    EXPECT_EQ(scaleNumberText(0.0078125), "0.0078125");
}

}  // namespace
}  // namespace tavo
