#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "tables/TableCells.h"
#include "tables/TableScaling.h"

namespace tavo {
namespace {

using Points = std::vector<std::pair<int, int>>;

// An image with one counted (Normal or Signed) table and its entry.
struct CountedTable {
    std::unique_ptr<ImageBuffer> image = std::make_unique<ImageBuffer>();
    TableDef def;

    CountedTable(TableType type, int offset, const Points& points)
    {
        def.type = type;
        def.offset = offset;
        def.image = image.get();
        (*image)[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            writePoint(*image, type, offset, static_cast<int>(i), points[i].first, points[i].second);
        def.count = static_cast<int>(points.size());
    }
    TablePoint row(int i) const { return readPoint(*image, def.type, def.offset, i); }
    SlopeBytes slope(int i) const { return {row(i).slopeHigh, row(i).slopeLow}; }
};

struct FiveByteTable {
    std::unique_ptr<ImageBuffer> image = std::make_unique<ImageBuffer>();
    TableDef def;

    FiveByteTable(int offset, const Points& points)
    {
        def.type = TableType::FiveByte;
        def.offset = offset;
        def.image = image.get();
        for (std::size_t i = 0; i < points.size(); ++i)
            writePoint(*image, TableType::FiveByte, offset, static_cast<int>(i), points[i].first,
                       points[i].second);
        setByteAt(*image, fiveByteRowAddress(offset, static_cast<int>(points.size())), 0xFF);
    }
    TablePoint row(int i) const { return readPoint(*image, TableType::FiveByte, def.offset, i); }
    SlopeBytes slope(int i) const { return {row(i).slopeHigh, row(i).slopeLow}; }
};

TEST(NormalTableScaling, y_at_150_percent_saturates_at_255_and_the_slopes_follow_the_new_points)
{
    CountedTable table(TableType::Normal, 0x9000, {{16, 100}, {32, 200}, {48, 120}});
    writeSlope(*table.image, TableType::Normal, 0x9000, 2, 0x12, 0x34);
    ASSERT_TRUE(scaleTable(table.def, 100.0F, 150.0F));
    EXPECT_EQ(table.row(0).y, 150);
    EXPECT_EQ(table.row(1).y, 255) << "300 saturates";
    EXPECT_EQ(table.row(2).y, 180);
    EXPECT_EQ(table.row(1).x, 32) << "x at 100% stays";
    EXPECT_EQ(table.slope(0), (SlopeBytes{0x06, 0x90}));  // 105 / 16 = 6.5625
    EXPECT_EQ(table.slope(1), (SlopeBytes{0xFC, 0x50}));  // -75 / 16 = -4.6875
    EXPECT_EQ(table.slope(2), (SlopeBytes{0x12, 0x34})) << "the last row's slope is not touched";
    EXPECT_EQ((*table.image)[0x9000], 3) << "the count byte is not scaled";
}

TEST(NormalTableScaling, y_at_50_percent_truncates_toward_zero)
{
    CountedTable table(TableType::Normal, 0x9000, {{16, 3}, {32, 100}, {48, 201}});
    ASSERT_TRUE(scaleTable(table.def, 100.0F, 50.0F));
    EXPECT_EQ(table.row(0).y, 1) << "1.5 truncates to 1";
    EXPECT_EQ(table.row(1).y, 50);
    EXPECT_EQ(table.row(2).y, 100);
    EXPECT_EQ(table.slope(0), (SlopeBytes{0x03, 0x10}));  // 49 / 16
    EXPECT_EQ(table.slope(1), (SlopeBytes{0x03, 0x20}));  // 50 / 16
}

TEST(NormalTableScaling, x_is_scaled_with_the_same_saturating_conversion)
{
    CountedTable table(TableType::Normal, 0x9000, {{10, 0}, {100, 50}, {200, 100}});
    ASSERT_TRUE(scaleTable(table.def, 150.0F, 100.0F));
    EXPECT_EQ(table.row(0).x, 15);
    EXPECT_EQ(table.row(1).x, 150);
    EXPECT_EQ(table.row(2).x, 255);
    EXPECT_EQ(table.slope(0), (SlopeBytes{0x00, 0x5E}));  // 50 / 135 = 0.370...
}

TEST(NormalTableScaling, at_100_percent_the_points_stay_and_hand_entered_slopes_are_replaced)
{
    CountedTable table(TableType::Normal, 0x9000, {{0, 100}, {16, 92}, {40, 70}});
    writeSlope(*table.image, TableType::Normal, 0x9000, 0, 0x55, 0x55);
    writeSlope(*table.image, TableType::Normal, 0x9000, 1, 0x66, 0x66);
    const ImageBuffer before = *table.image;
    ASSERT_TRUE(scaleTable(table.def, 100.0F, 100.0F));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(table.row(i).x, readPoint(before, TableType::Normal, 0x9000, i).x);
        EXPECT_EQ(table.row(i).y, readPoint(before, TableType::Normal, 0x9000, i).y);
    }
    EXPECT_EQ(table.slope(0), (SlopeBytes{0xFF, 0x80}));
    EXPECT_EQ(table.slope(1), (SlopeBytes{0xFF, 0x16}));
}

TEST(NormalTableScaling, neighbours_saturated_to_the_same_x_get_the_defined_vertical_slope)
{
    CountedTable table(TableType::Normal, 0x9000, {{200, 10}, {230, 5}, {240, 40}});
    ASSERT_TRUE(scaleTable(table.def, 200.0F, 100.0F));
    EXPECT_EQ(table.row(0).x, 255);
    EXPECT_EQ(table.row(1).x, 255);
    EXPECT_EQ(table.slope(0), (SlopeBytes{0xFF, 0x00})) << "falling";
    EXPECT_EQ(table.slope(1), (SlopeBytes{0x00, 0x00})) << "rising";
}

TEST(NormalTableScaling, x_at_0_percent_puts_every_point_on_the_y_axis_without_a_fault)
{
    CountedTable table(TableType::Normal, 0x9000, {{10, 10}, {20, 30}});
    ASSERT_TRUE(scaleTable(table.def, 0.0F, 100.0F));
    EXPECT_EQ(table.row(1).x, 0);
    EXPECT_EQ(table.slope(0), (SlopeBytes{0x00, 0x00}));
}

TEST(SignedTableScaling, y_at_50_percent_scales_negative_bytes_by_their_magnitude)
{
    CountedTable table(TableType::Signed, 0x9000, {{0, 6}, {16, -3}, {32, -1}});
    ASSERT_TRUE(scaleTable(table.def, 100.0F, 50.0F));
    EXPECT_EQ(table.row(0).y, 3);
    EXPECT_EQ(table.row(1).y, -2) << "256 - 1.5 = 254.5 truncates to 0xFE";
    EXPECT_EQ(table.row(2).y, -1) << "256 - 0.5 = 255.5 saturates to 0xFF";
    EXPECT_EQ(table.slope(0), (SlopeBytes{0xFF, 0xB0}));  // -5 / 16, integer byte 0 -> 0xFF
    EXPECT_EQ(table.slope(1), (SlopeBytes{0x00, 0x10}));  // 1 / 16 with signed y
}

TEST(SignedTableScaling, y_at_200_percent_has_no_signed_bound)
{
    CountedTable table(TableType::Signed, 0x9000, {{0, 100}, {64, -2}});
    ASSERT_TRUE(scaleTable(table.def, 100.0F, 200.0F));
    EXPECT_EQ((*table.image)[0x9002], 200);
    EXPECT_EQ(table.row(0).y, -56);
    EXPECT_EQ(table.row(1).y, -4);
    EXPECT_EQ(table.slope(0), (SlopeBytes{0x00, 0xD0})) << "(-4 - -56) / 64 from the signed reading";
}

TEST(FiveByteTableScaling, a_row_scaled_up_to_255_becomes_the_end_row)
{
    FiveByteTable table(0x9100, {{0, 1000}, {100, 2000}, {200, 3000}});
    writeSlope(*table.image, TableType::FiveByte, 0x9100, 1, 0x12, 0x34);
    ASSERT_TRUE(scaleTable(table.def, 150.0F, 100.0F));
    EXPECT_EQ(table.row(1).x, 150);
    EXPECT_EQ(table.row(2).x, 255);
    EXPECT_EQ(table.row(2).y, 3000) << "every row before the old end row is scaled";
    EXPECT_EQ(table.slope(0), (SlopeBytes{0x06, 0xAA}));  // 1000 / 150
    EXPECT_EQ(table.slope(1), (SlopeBytes{0x12, 0x34})) << "the slope pass stops before the new end row";
    EXPECT_EQ(countFiveByteRows(*table.image, 0x9100), 2);
}

TEST(FiveByteTableScaling, y_keeps_the_low_16_bits_without_saturation)
{
    FiveByteTable table(0x9100, {{0, 40000}, {64, 1000}});
    ASSERT_TRUE(scaleTable(table.def, 100.0F, 200.0F));
    EXPECT_EQ(table.row(0).y, 80000 - 65536);
    EXPECT_EQ(table.row(1).y, 2000);
    EXPECT_EQ(table.slope(0), (SlopeBytes{0x3E, 0x40}));  // -12464 / 64 = -194.75
}

TEST(FiveByteTableScaling, a_small_falling_slope_keeps_its_zero_integer_byte)
{
    FiveByteTable table(0x9100, {{0, 1016}, {64, 1000}});
    ASSERT_TRUE(scaleTable(table.def, 100.0F, 100.0F));
    EXPECT_EQ(table.slope(0), (SlopeBytes{0x00, 0xC0})) << "-0.25, no 0xFF integer byte";
}

TEST(FiveByteTableScaling, the_end_row_and_what_follows_it_stay_as_they_were)
{
    FiveByteTable table(0x9100, {{16, 100}, {32, 200}});
    setByteAt(*table.image, fiveByteRowAddress(0x9100, 2) + 1, 0x77);
    setByteAt(*table.image, fiveByteRowAddress(0x9100, 3), 0x40);
    ASSERT_TRUE(scaleTable(table.def, 50.0F, 50.0F));
    EXPECT_EQ(table.row(1).x, 16);
    EXPECT_EQ(table.row(2).x, 0xFF);
    EXPECT_EQ(table.row(2).y >> 8, 0x77);
    EXPECT_EQ(table.row(3).x, 0x40);
}

TEST(TableScaling, constants_bit_fields_and_choices_are_left_alone)
{
    auto image = std::make_unique<ImageBuffer>();
    for (std::size_t a = 0x9000; a < 0x9010; ++a)
        (*image)[a] = static_cast<std::uint8_t>(a);
    const ImageBuffer before = *image;
    for (TableType type : {TableType::Const8, TableType::Const16, TableType::Flags8, TableType::Value8}) {
        TableDef def;
        def.type = type;
        def.offset = 0x9000;
        def.image = image.get();
        EXPECT_FALSE(scaleTable(def, 150.0F, 50.0F));
    }
    EXPECT_TRUE(*image == before);
}

TEST(TableScaling, unusable_percentages_change_nothing)
{
    CountedTable table(TableType::Normal, 0x9000, {{16, 100}, {32, 200}});
    const ImageBuffer before = *table.image;
    EXPECT_FALSE(scaleTable(table.def, -50.0F, 100.0F));
    EXPECT_FALSE(scaleTable(table.def, 100.0F, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(scaleTable(table.def, std::numeric_limits<float>::infinity(), 100.0F));
    TableDef unbound = table.def;
    unbound.image = nullptr;
    EXPECT_FALSE(scaleTable(unbound, 150.0F, 150.0F));
    EXPECT_TRUE(*table.image == before);
}

TEST(TableScaling, huge_percentages_give_defined_bytes)
{
    CountedTable table(TableType::Signed, 0x9000, {{16, -100}, {32, 100}});
    ASSERT_TRUE(scaleTable(table.def, 1.0e37F, 1.0e37F));
    EXPECT_EQ(table.row(0).x, 255);
    EXPECT_EQ(table.row(1).y, -1) << "255 from above";
    FiveByteTable five(0x9100, {{16, 1000}, {32, 2000}});
    ASSERT_TRUE(scaleTable(five.def, 100.0F, 3.0e38F));
    EXPECT_EQ(five.row(0).y, 0) << "an overflowing product keeps no bits";
}

TEST(TableScaling, tables_running_past_0xffff_are_scaled_only_inside_the_space)
{
    auto image = std::make_unique<ImageBuffer>();
    TableDef def;
    def.image = image.get();
    def.type = TableType::Normal;
    def.offset = 0xFFF0;
    (*image)[0xFFF0] = 255;  // claims 255 rows, 4 fit
    for (std::size_t a = 0xFFF1; a < kAddressSpace; ++a)
        (*image)[a] = 10;
    ASSERT_TRUE(scaleTable(def, 200.0F, 200.0F));
    EXPECT_EQ((*image)[0xFFFD], 20) << "x of row 3";
    EXPECT_EQ((*image)[0xFFFE], 20) << "y of row 3";

    // A FiveByte table without an end row: five whole rows fit, the sixth
    // has only three bytes before the end and is not a row.
    auto five = std::make_unique<ImageBuffer>();
    for (std::size_t a = 0xFFE4; a < kAddressSpace; ++a)
        (*five)[a] = 10;
    def.image = five.get();
    def.type = TableType::FiveByte;
    def.offset = 0xFFE4;
    ASSERT_TRUE(scaleTable(def, 200.0F, 100.0F));
    EXPECT_EQ((*five)[0xFFF8], 20) << "x of row 4";
    EXPECT_EQ((*five)[0xFFFD], 10) << "the partial row is left alone";
}

TEST(ScaleByteConversion, saturates_from_above_only_and_wraps_below)
{
    EXPECT_EQ(scaledByte(255.9F), 255);
    EXPECT_EQ(scaledByte(1000.0F), 255);
    EXPECT_EQ(scaledByte(254.5F), 254);
    EXPECT_EQ(scaledByte(-1.5F), 0xFF) << "-1.5 truncates to -1";
    EXPECT_EQ(scaledByte(-300.0F), 0xD4);
}

TEST(ScalePercentageTexts, show_with_six_decimals_and_read_the_number_at_the_start)
{
    EXPECT_EQ(percentageText(100.0F), "100.000000");
    EXPECT_EQ(percentageText(87.5F), "87.500000");
    EXPECT_EQ(parsePercentage("150"), 150.0F);
    EXPECT_EQ(parsePercentage("  75.5 percent"), 75.5F);
    EXPECT_EQ(parsePercentage("0"), 0.0F);
    EXPECT_FALSE(parsePercentage("abc"));
    EXPECT_FALSE(parsePercentage(""));
    EXPECT_FALSE(parsePercentage("-50"));
    EXPECT_FALSE(parsePercentage("inf"));
    EXPECT_FALSE(parsePercentage("nan"));
    EXPECT_FALSE(parsePercentage(std::string(127, ' ') + "50")) << "only 127 characters are read";
}

TEST(ScalePercentageTexts, a_text_without_a_usable_percentage_keeps_the_previous_one)
{
    ScalePercentages current;
    takePercentages(current, "abc", "120");
    EXPECT_EQ(current.x, 100.0F);
    EXPECT_EQ(current.y, 120.0F);
    takePercentages(current, "90", "-5");
    EXPECT_EQ(current.x, 90.0F);
    EXPECT_EQ(current.y, 120.0F);
}

TEST(ScaleConfirmation, ok_on_a_constant_stores_the_percentages_and_changes_no_byte)
{
    auto image = std::make_unique<ImageBuffer>();
    (*image)[0x9140] = 0xC0;
    TableDef def;
    def.type = TableType::Const8;
    def.offset = 0x9140;
    def.image = image.get();
    ScalePercentages current;
    EXPECT_FALSE(confirmScale(def, current, "150", "50"));
    EXPECT_EQ(current.x, 150.0F);
    EXPECT_EQ(current.y, 50.0F);
    EXPECT_EQ((*image)[0x9140], 0xC0);
}

TEST(ScaleConfirmation, an_unparsable_text_scales_with_the_previous_percentage)
{
    CountedTable table(TableType::Normal, 0x9000, {{16, 100}, {32, 200}});
    ScalePercentages current{100.0F, 50.0F};
    EXPECT_TRUE(confirmScale(table.def, current, "100", "fifty"));
    EXPECT_EQ(current.y, 50.0F);
    EXPECT_EQ(table.row(0).y, 50);
}

}  // namespace
}  // namespace tavo
