#include <gtest/gtest.h>

#include "viewer/PointDrag.h"
#include "viewer/ViewerTestImages.h"

namespace tavo {
namespace {

using namespace test;  // the test images of ViewerTestImages.h

constexpr int kAt = 0x9000;

class PointDrag : public ::testing::Test {
protected:
    std::unique_ptr<RomImage> rom = blankImage();
    QuickViewerState state;

    void use(TableType type, const test::Points& points)
    {
        if (type == TableType::FiveByte)
            putFiveByteTable(rom->image, kAt, points);
        else
            putNormalTable(rom->image, type, kAt, points);
        state.current = addEntry(*rom, type, kAt, "table", "TABLE").index;
    }
    TablePoint point(int row) const { return readPoint(rom->image, rom->tables[0].type, kAt, row); }
};

TEST_F(PointDrag, dragging_the_last_point_stores_it_and_recomputes_the_slopes_of_the_example)
{
    use(TableType::Normal, {{0, 100}, {16, 92}, {32, 60}});
    ASSERT_TRUE(beginPointDrag(state, *rom, 432, 201));
    EXPECT_EQ(state.dragIndex, 2);
    EXPECT_EQ(state.leftAnchor, (DialogPoint{416, 169}));
    EXPECT_EQ(state.rightAnchor, (DialogPoint{657, -1}));

    ASSERT_TRUE(endPointDrag(state, *rom, 440, 191));
    EXPECT_EQ(point(2).x, 40);
    EXPECT_EQ(point(2).y, 70);
    EXPECT_EQ(point(0).slopeHigh, 0xFF);
    EXPECT_EQ(point(0).slopeLow, 0x80);
    EXPECT_EQ(point(1).slopeHigh, 0xFF);
    EXPECT_EQ(point(1).slopeLow, 0x16);
    EXPECT_FALSE(state.dragging);
    EXPECT_EQ(state.dragIndex, -1);
}

TEST_F(PointDrag, the_band_runs_between_the_neighbours_and_starts_at_the_left_edge_for_point_0)
{
    use(TableType::Normal, {{0, 100}, {16, 92}, {32, 60}});
    ASSERT_TRUE(beginPointDrag(state, *rom, 416, 169));
    EXPECT_EQ(state.leftAnchor, (DialogPoint{400, 161}));
    EXPECT_EQ(state.rightAnchor, (DialogPoint{432, 201}));
    ASSERT_TRUE(beginPointDrag(state, *rom, 400, 161));
    EXPECT_EQ(state.dragIndex, 0);
    EXPECT_EQ(state.leftAnchor, (DialogPoint{400, -1}));
    EXPECT_EQ(state.rightAnchor, (DialogPoint{416, 169}));
    const auto band = rubberBand(state, 405, 150);
    EXPECT_EQ(band[0], (DialogPoint{400, 150})) << "a y of -1 follows the cursor";
    EXPECT_EQ(band[1], (DialogPoint{405, 150}));
    EXPECT_EQ(band[2], (DialogPoint{416, 169}));
}

TEST_F(PointDrag, five_byte_anchors_sit_at_Y_over_48_and_the_last_point_runs_to_the_top_corner)
{
    use(TableType::FiveByte, {{0, 1000}, {100, 2400}, {240, 4800}});
    ASSERT_TRUE(beginPointDrag(state, *rom, 640, 161));
    EXPECT_EQ(state.dragIndex, 2);
    EXPECT_EQ(state.leftAnchor, (DialogPoint{500, 211}));
    EXPECT_EQ(state.rightAnchor, (DialogPoint{657, 5}));
    ASSERT_TRUE(endPointDrag(state, *rom, 650, 141));
    EXPECT_EQ(point(2).x, 250);
    EXPECT_EQ(point(2).y, 120 * 48);
    EXPECT_EQ(point(1).slopeHigh, 22) << "(5760 - 2400) / 150 = 22.4";
    EXPECT_EQ(point(1).slopeLow, 102);
}

TEST_F(PointDrag, signed_points_are_written_as_twos_complement_across_the_whole_field)
{
    use(TableType::Signed, {{0, 10}, {64, -16}});
    ASSERT_TRUE(beginPointDrag(state, *rom, 464, 149));
    ASSERT_TRUE(endPointDrag(state, *rom, 464, 6));
    EXPECT_EQ(point(1).y, 127);
    ASSERT_TRUE(beginPointDrag(state, *rom, 464, 6));
    EXPECT_EQ(state.leftAnchor, (DialogPoint{400, 123}));
    ASSERT_TRUE(endPointDrag(state, *rom, 464, 261));
    EXPECT_EQ(point(1).y, -128);
    EXPECT_EQ(rom->image[kAt + 6], 0x80);
}

TEST_F(PointDrag, a_release_outside_the_graph_keeps_the_point_but_recomputes_every_slope)
{
    use(TableType::Normal, {{0, 100}, {16, 92}, {32, 60}});
    writeSlope(rom->image, TableType::Normal, kAt, 0, 0x12, 0x34);
    ASSERT_TRUE(beginPointDrag(state, *rom, 432, 201));
    EXPECT_TRUE(endPointDrag(state, *rom, 300, 100));
    EXPECT_EQ(point(2).x, 32);
    EXPECT_EQ(point(2).y, 60);
    EXPECT_EQ(point(0).slopeHigh, 0xFF);
    EXPECT_EQ(point(0).slopeLow, 0x80);
}

TEST_F(PointDrag, a_press_away_from_every_point_starts_no_drag_and_its_release_changes_nothing)
{
    use(TableType::Normal, {{0, 100}, {16, 92}, {32, 60}});
    writeSlope(rom->image, TableType::Normal, kAt, 0, 0x12, 0x34);
    EXPECT_FALSE(beginPointDrag(state, *rom, 600, 100));
    EXPECT_EQ(state.dragIndex, -1);
    EXPECT_FALSE(endPointDrag(state, *rom, 432, 201));
    EXPECT_EQ(point(0).slopeHigh, 0x12) << "no drag, no slope pass";
    EXPECT_FALSE(beginPointDrag(state, *rom, 390, 161)) << "left of the graph";
}

TEST_F(PointDrag, a_single_point_table_runs_its_band_from_edge_to_edge)
{
    use(TableType::Normal, {{128, 128}});
    ASSERT_TRUE(beginPointDrag(state, *rom, 528, 133));
    EXPECT_EQ(state.leftAnchor, (DialogPoint{400, -1}));
    EXPECT_EQ(state.rightAnchor, (DialogPoint{657, -1}));
    ASSERT_TRUE(endPointDrag(state, *rom, 530, 140));
    EXPECT_EQ(point(0).x, 130);
    EXPECT_EQ(point(0).y, 121);
}

TEST_F(PointDrag, outside_graph_mode_a_release_writes_nothing)
{
    use(TableType::Normal, {{0, 100}, {16, 92}, {32, 60}});
    ASSERT_TRUE(beginPointDrag(state, *rom, 432, 201));
    state.graphMode = false;
    EXPECT_FALSE(endPointDrag(state, *rom, 440, 191));
    EXPECT_EQ(point(2).x, 32);
}

TEST_F(PointDrag, two_points_dragged_onto_the_same_x_store_a_defined_slope)
{
    use(TableType::Normal, {{0, 100}, {16, 92}, {32, 60}});
    ASSERT_TRUE(beginPointDrag(state, *rom, 432, 201));
    ASSERT_TRUE(endPointDrag(state, *rom, 416, 221));
    EXPECT_EQ(point(1).slopeHigh, 0xFF) << "a falling vertical segment";
    EXPECT_EQ(point(1).slopeLow, 0x00);
}

}  // namespace
}  // namespace tavo
