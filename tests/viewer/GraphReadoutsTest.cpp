#include <gtest/gtest.h>

#include "viewer/GraphReadouts.h"
#include "viewer/QuickViewerState.h"
#include "viewer/ViewerTestImages.h"

namespace tavo {
namespace {

using namespace test;  // the test images of ViewerTestImages.h

// Dialog client position of a raw point on the graph.
int columnOf(int x) { return 400 + x; }
int rowOf(int height) { return 261 - height; }

class GraphReadouts : public ::testing::Test {
protected:
    std::unique_ptr<RomImage> rom = blankImage();
    QuickViewerState state;

    TableDef& show(TableType type, const test::Points& points, const char* xMax, const char* yMin, const char* yMax)
    {
        if (type == TableType::FiveByte)
            putFiveByteTable(rom->image, 0x9000, points);
        else
            putNormalTable(rom->image, type, 0x9000, points);
        TableDef& def = addEntry(*rom, type, 0x9000, "table", "TABLE");
        def.axes.xMax = xMax;
        def.axes.yMin = yMin;
        def.axes.yMax = yMax;
        state.current = def.index;
        parseGraphRanges(state, def);
        return def;
    }
};

TEST_F(GraphReadouts, the_cursor_reads_in_display_units_across_the_scale_texts)
{
    show(TableType::Normal, {{16, 100}, {200, 50}}, "8000", "0", "200");
    const auto texts = updateReadouts(state, *rom, columnOf(128), rowOf(64));
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->in, "in: 4000.0");
    EXPECT_EQ(texts->out, "out: 50.00");
    EXPECT_FLOAT_EQ(state.inValue, 4000.0F);
    EXPECT_FLOAT_EQ(state.outValue, 50.0F);
}

TEST_F(GraphReadouts, nothing_is_read_outside_the_256_by_256_field)
{
    show(TableType::Normal, {{16, 100}}, "256", "0", "256");
    EXPECT_TRUE(updateReadouts(state, *rom, 400, 6));
    EXPECT_TRUE(updateReadouts(state, *rom, 655, 261));
    EXPECT_FALSE(updateReadouts(state, *rom, 399, 100));
    EXPECT_FALSE(updateReadouts(state, *rom, 656, 100));
    EXPECT_FALSE(updateReadouts(state, *rom, 500, 5));
    EXPECT_FALSE(updateReadouts(state, *rom, 500, 262));
    state.current = 3;
    EXPECT_FALSE(updateReadouts(state, *rom, 500, 100)) << "no entry selected";
}

TEST_F(GraphReadouts, within_ten_pixels_the_read_outs_jump_to_the_points_own_values)
{
    show(TableType::Normal, {{16, 100}, {200, 50}}, "8000", "0", "200");
    const auto texts = updateReadouts(state, *rom, columnOf(16 + 4), rowOf(100 + 5));
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->in, "in: 500.0");
    EXPECT_EQ(texts->out, "out: 78.13");
    EXPECT_EQ(updateReadouts(state, *rom, columnOf(16 + 11), rowOf(100))->in, "in: 843.8")
        << "eleven pixels away the cursor reads on";
}

TEST_F(GraphReadouts, the_distance_is_truncated_and_the_first_of_equal_distances_wins)
{
    const TableDef& def = show(TableType::Normal, {{10, 100}, {20, 100}, {40, 100}}, "256", "0", "256");
    EXPECT_EQ(pointNearCursor(rom->image, def, columnOf(15), rowOf(100)), 0);
    EXPECT_EQ(pointNearCursor(rom->image, def, columnOf(48), rowOf(107)), 2) << "10.6 pixels counts as 10";
    EXPECT_EQ(pointNearCursor(rom->image, def, columnOf(48), rowOf(108)), -1) << "11.3 pixels is too far";
    EXPECT_EQ(pointNearCursor(rom->image, def, columnOf(19), rowOf(100)), 1) << "the nearer point wins";
}

TEST_F(GraphReadouts, a_five_byte_point_snaps_at_Y_over_48_and_reads_its_16_bit_value)
{
    const TableDef& def = show(TableType::FiveByte, {{0, 1000}, {240, 4800}}, "256", "0", "12288");
    EXPECT_EQ(pointNearCursor(rom->image, def, columnOf(240), rowOf(100)), 1);
    const auto texts = updateReadouts(state, *rom, columnOf(240), rowOf(100));
    EXPECT_EQ(texts->out, "out: 4800.00");
}

TEST_F(GraphReadouts, a_signed_point_reads_its_signed_value_and_0x80_counts_as_plus_128)
{
    const TableDef& def = show(TableType::Signed, {{50, -16}, {150, -128}}, "256", "-128", "128");
    // The signed field's zero is dialog row 133.
    const auto texts = updateReadouts(state, *rom, columnOf(50), 133 + 16);
    EXPECT_EQ(texts->out, "out: -16.00");
    EXPECT_EQ(pointNearCursor(rom->image, def, columnOf(150), 133 + 128), -1)
        << "the byte 0x80 is looked for at +128, above the field";
    EXPECT_EQ(pointNearCursor(rom->image, def, columnOf(150), 133 - 127), 1);
    EXPECT_EQ(updateReadouts(state, *rom, columnOf(150), 133 - 127)->out, "out: 128.00");
}

TEST_F(GraphReadouts, no_point_snaps_while_one_is_dragged)
{
    show(TableType::Normal, {{16, 100}, {200, 50}}, "8000", "0", "200");
    state.dragIndex = 1;
    EXPECT_EQ(updateReadouts(state, *rom, columnOf(16), rowOf(100))->in, "in: 500.0");
    EXPECT_EQ(updateReadouts(state, *rom, columnOf(16), rowOf(102))->out, "out: 79.69")
        << "the cursor's own height, not the point's";
}

TEST_F(GraphReadouts, a_scale_text_without_a_number_reads_as_zero)
{
    TableDef& def = show(TableType::Normal, {{16, 100}}, "8000", "0", "200");
    def.axes.xMin = "low";
    def.axes.xMax = "12.5 rpm";
    parseGraphRanges(state, def);
    EXPECT_FLOAT_EQ(state.xMinValue, 0.0F);
    EXPECT_FLOAT_EQ(state.xMaxValue, 12.5F);
}

}  // namespace
}  // namespace tavo
