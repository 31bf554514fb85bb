#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "viewer/GraphGeometry.h"
#include "viewer/ViewerTestImages.h"

namespace tavo {
namespace {

using namespace test;  // the test images of ViewerTestImages.h

std::vector<GraphSegment> withPen(const std::vector<GraphSegment>& segments, GraphPen pen)
{
    std::vector<GraphSegment> picked;
    std::copy_if(segments.begin(), segments.end(), std::back_inserter(picked),
                 [pen](const GraphSegment& s) { return s.pen == pen; });
    return picked;
}

GraphSegment line(GraphPen pen, int x0, int y0, int x1, int y1)
{
    return {pen, {x0, y0}, {x1, y1}};
}

TEST(GraphMapping, a_point_released_at_a_row_is_drawn_on_that_row_for_every_kind)
{
    for (const TableType type : {TableType::Normal, TableType::FiveByte, TableType::Signed}) {
        const GraphMapping mapping(type);
        for (int dialogRow = kGraphTop + 1; dialogRow <= kGraphTop + 256; ++dialogRow)
            ASSERT_EQ(kGraphTop + mapping.row(static_cast<float>(mapping.heightAtDialogRow(dialogRow))), dialogRow)
                << tableTypeName(type);
    }
}

TEST(GraphGeometry, a_normal_table_has_a_lead_in_at_its_first_height_and_a_run_out_at_its_last)
{
    auto rom = blankImage();
    putNormalTable(rom->image, TableType::Normal, 0x9000, {{16, 100}, {120, 80}, {200, 50}});
    addEntry(*rom, TableType::Normal, 0x9000, "fuel", "WOTTBL");
    const auto curve = withPen(tableGraphSegments(*rom, 0, nullptr), GraphPen::Curve);
    EXPECT_EQ(curve, (std::vector<GraphSegment>{
                         line(GraphPen::Curve, 0, 156, 16, 156),
                         line(GraphPen::Curve, 16, 156, 120, 176),
                         line(GraphPen::Curve, 120, 176, 200, 206),
                         line(GraphPen::Curve, 200, 206, 255, 206),
                     }));
}

TEST(GraphGeometry, a_last_point_at_x_255_has_no_run_out)
{
    auto rom = blankImage();
    putNormalTable(rom->image, TableType::Normal, 0x9000, {{16, 100}, {255, 50}});
    addEntry(*rom, TableType::Normal, 0x9000, "fuel", "WOTTBL");
    const auto curve = withPen(tableGraphSegments(*rom, 0, nullptr), GraphPen::Curve);
    ASSERT_EQ(curve.size(), 2U);
    EXPECT_EQ(curve.back(), line(GraphPen::Curve, 16, 156, 255, 206));
}

TEST(GraphGeometry, every_point_gets_a_five_by_five_marker_drawn_after_the_curve)
{
    auto rom = blankImage();
    putNormalTable(rom->image, TableType::Normal, 0x9000, {{16, 100}, {200, 50}});
    addEntry(*rom, TableType::Normal, 0x9000, "fuel", "WOTTBL");
    const auto segments = tableGraphSegments(*rom, 0, nullptr);
    const auto markers = withPen(segments, GraphPen::Marker);
    ASSERT_EQ(markers.size(), 8U);
    EXPECT_EQ(markers[0], line(GraphPen::Marker, 14, 154, 14, 158));
    EXPECT_EQ(markers[1], line(GraphPen::Marker, 14, 158, 18, 158));
    EXPECT_EQ(markers[2], line(GraphPen::Marker, 18, 158, 18, 154));
    EXPECT_EQ(markers[3], line(GraphPen::Marker, 18, 154, 14, 154));
    const auto lastCurve = std::find_if(segments.rbegin(), segments.rend(),
                                        [](const GraphSegment& s) { return s.pen == GraphPen::Curve; });
    const auto firstMarker = std::find_if(segments.begin(), segments.end(),
                                          [](const GraphSegment& s) { return s.pen == GraphPen::Marker; });
    EXPECT_LT(segments.rend() - lastCurve - 1, firstMarker - segments.begin());
}

TEST(GraphGeometry, the_fifteen_ticks_of_each_axis_come_first_and_do_not_depend_on_the_table)
{
    auto rom = blankImage();
    addEntry(*rom, TableType::Const8, 0x9100, "limit", "REVLIM");
    const auto segments = tableGraphSegments(*rom, 0, nullptr);
    ASSERT_EQ(segments.size(), 30U) << "a constant has no graph, only the ticks";
    EXPECT_EQ(segments[0], line(GraphPen::Tick, 16, 250, 16, 255));
    EXPECT_EQ(segments[14], line(GraphPen::Tick, 240, 250, 240, 255));
    EXPECT_EQ(segments[15], line(GraphPen::Tick, 0, 16, 5, 16));
    EXPECT_EQ(segments[29], line(GraphPen::Tick, 0, 240, 5, 240));
    EXPECT_EQ(tableGraphSegments(*rom, 1, nullptr).size(), 30U) << "an index past the count";
    EXPECT_EQ(tableGraphSegments(*rom, -1, nullptr).size(), 30U);
}

TEST(GraphGeometry, a_five_byte_table_runs_out_along_its_last_slope_to_an_end_marker)
{
    auto rom = blankImage();
    putFiveByteTable(rom->image, 0x9000, {{0, 1000}, {240, 4800}});
    writeSlope(rom->image, TableType::FiveByte, 0x9000, 1, 1, 128);  // 1.5
    addEntry(*rom, TableType::FiveByte, 0x9000, "pulse", "INJPW");
    const auto segments = tableGraphSegments(*rom, 0, nullptr);
    const auto curve = withPen(segments, GraphPen::Curve);
    ASSERT_EQ(curve.size(), 3U);
    EXPECT_EQ(curve[0], line(GraphPen::Curve, 0, 235, 0, 235));  // 256 - 1000/48 = 235.2
    EXPECT_EQ(curve[1], line(GraphPen::Curve, 0, 235, 240, 156));
    EXPECT_EQ(curve[2], line(GraphPen::Curve, 240, 156, 255, 155));
    const auto markers = withPen(segments, GraphPen::Marker);
    ASSERT_EQ(markers.size(), 12U);
    EXPECT_EQ(markers[8], line(GraphPen::Marker, 253, 153, 253, 157));
    EXPECT_EQ(markers[9], line(GraphPen::Marker, 253, 157, 257, 157));
    EXPECT_EQ(markers[10], line(GraphPen::Marker, 257, 157, 257, 153));
    EXPECT_EQ(markers[11], line(GraphPen::Marker, 257, 153, 253, 153));
}

TEST(GraphGeometry, a_five_byte_table_ending_at_x_255_has_neither_run_out_nor_end_marker)
{
    auto rom = blankImage();
    putFiveByteTable(rom->image, 0x9000, {{0, 1000}, {255, 4800}});
    addEntry(*rom, TableType::FiveByte, 0x9000, "pulse", "INJPW");
    const auto segments = tableGraphSegments(*rom, 0, nullptr);
    EXPECT_EQ(withPen(segments, GraphPen::Curve).size(), 2U);
    EXPECT_EQ(withPen(segments, GraphPen::Marker).size(), 8U);
}

TEST(GraphGeometry, a_run_out_above_the_top_is_drawn_but_its_end_marker_is_skipped)
{
    auto rom = blankImage();
    putFiveByteTable(rom->image, 0x9000, {{0, 1000}, {200, 12000}});
    writeSlope(rom->image, TableType::FiveByte, 0x9000, 1, 100, 0);
    addEntry(*rom, TableType::FiveByte, 0x9000, "pulse", "INJPW");
    const auto segments = tableGraphSegments(*rom, 0, nullptr);
    const auto curve = withPen(segments, GraphPen::Curve);
    ASSERT_EQ(curve.size(), 3U);
    EXPECT_EQ(curve[2].to, (GraphPixel{255, static_cast<int>(256.0F - (12000.0F + 55 * 100.0F) / 48.0F)}));
    EXPECT_LT(curve[2].to.y, 0);
    EXPECT_EQ(withPen(segments, GraphPen::Marker).size(), 8U);
}

TEST(GraphGeometry, a_signed_table_draws_its_dashed_zero_line_first_and_negative_points_below_it)
{
    auto rom = blankImage();
    putNormalTable(rom->image, TableType::Signed, 0x9000, {{32, -16}, {64, 20}});
    addEntry(*rom, TableType::Signed, 0x9000, "knock", "KNKRET");
    const auto segments = tableGraphSegments(*rom, 0, nullptr);
    ASSERT_GT(segments.size(), 30U);
    EXPECT_EQ(segments[30], line(GraphPen::CentreLine, 0, 128, 255, 128));
    const auto curve = withPen(segments, GraphPen::Curve);
    ASSERT_EQ(curve.size(), 3U);
    EXPECT_EQ(curve[0], line(GraphPen::Curve, 0, 144, 32, 144));
    EXPECT_EQ(curve[1], line(GraphPen::Curve, 32, 144, 64, 108));
    EXPECT_EQ(curve[2], line(GraphPen::Curve, 64, 108, 255, 108));
}

TEST(GraphGeometry, the_comparison_curve_comes_only_with_a_comparison_image_and_before_the_curve)
{
    auto rom = blankImage();
    putNormalTable(rom->image, TableType::Normal, 0x9000, {{16, 100}, {200, 50}});
    addEntry(*rom, TableType::Normal, 0x9000, "fuel", "WOTTBL");
    auto other = blankImage();
    putNormalTable(other->image, TableType::Normal, 0x9000, {{8, 110}, {100, 90}, {180, 60}});

    EXPECT_TRUE(withPen(tableGraphSegments(*rom, 0, nullptr), GraphPen::Comparison).empty());
    const auto segments = tableGraphSegments(*rom, 0, other.get());
    const auto comparison = withPen(segments, GraphPen::Comparison);
    ASSERT_EQ(comparison.size(), 4U) << "its own count byte: to each of its three points, then the run-out";
    EXPECT_EQ(comparison.front(), line(GraphPen::Comparison, 0, 146, 8, 146));
    EXPECT_EQ(comparison.back(), line(GraphPen::Comparison, 180, 196, 255, 196));
    const auto firstCurve = std::find_if(segments.begin(), segments.end(),
                                         [](const GraphSegment& s) { return s.pen == GraphPen::Curve; });
    const auto lastComparison = std::find_if(segments.rbegin(), segments.rend(),
                                             [](const GraphSegment& s) { return s.pen == GraphPen::Comparison; });
    EXPECT_LT(segments.rend() - lastComparison - 1, firstCurve - segments.begin());
}

TEST(GraphGeometry, the_comparison_bytes_are_read_with_the_working_entrys_kind)
{
    auto rom = blankImage();
    putFiveByteTable(rom->image, 0x9000, {{0, 4800}, {128, 4800}});
    addEntry(*rom, TableType::FiveByte, 0x9000, "pulse", "INJPW");
    auto other = blankImage();
    // A Normal table in the other image: its count byte 2 reads as x of row 0.
    putNormalTable(other->image, TableType::Normal, 0x9000, {{16, 100}, {200, 50}});
    setByteAt(other->image, fiveByteRowAddress(0x9000, 1), 0xFF);
    const auto comparison = withPen(tableGraphSegments(*rom, 0, other.get()), GraphPen::Comparison);
    ASSERT_EQ(comparison.size(), 2U) << "one row before the end mark, then the run-out";
    EXPECT_EQ(comparison[0].to, (GraphPixel{2, GraphMapping(TableType::FiveByte).row(16 * 256 + 100)}));
    EXPECT_EQ(comparison[1].to.x, 255);
}

TEST(GraphGeometry, a_table_near_the_top_of_the_address_space_draws_only_the_rows_that_fit)
{
    auto rom = blankImage();
    const int at = 0xFFF6;
    rom->image[at] = 255;  // claims 255 rows; two fit below 0xFFFF
    addEntry(*rom, TableType::Normal, at, "edge", "EDGE");
    auto other = blankImage();
    other->image[at] = 255;
    const auto segments = tableGraphSegments(*rom, 0, other.get());
    EXPECT_EQ(withPen(segments, GraphPen::Marker).size(), 4U * rowsInSpace(TableType::Normal, at, 255));
    EXPECT_LE(withPen(segments, GraphPen::Comparison).size(), 4U);

    auto five = blankImage();
    std::fill(five->image.begin() + 0xFF00, five->image.end(), 0x10);  // no end mark
    addEntry(*five, TableType::FiveByte, 0xFF00, "edge", "EDGE");
    const auto fiveSegments = tableGraphSegments(*five, 0, five.get());
    EXPECT_EQ(withPen(fiveSegments, GraphPen::Curve).size(), 51U + 1U) << "51 rows fit, then the run-out";
}

TEST(GraphGeometry, an_empty_table_draws_no_curve_and_no_marker)
{
    auto rom = blankImage();
    addEntry(*rom, TableType::Normal, 0x9000, "empty", "EMPTY");  // count byte 0
    const auto segments = tableGraphSegments(*rom, 0, rom.get());
    EXPECT_EQ(segments.size(), 30U);
}

}  // namespace
}  // namespace tavo
