#include <gtest/gtest.h>

#include <vector>

#include "live/LiveMarker.h"

namespace tavo {
namespace {

// A curve as the graph draws it: the lead-in at the first point's height,
// points at x 10, 50 and 100, the run-out to x 255; ticks that are no curve.
const std::vector<GraphSegment> kCurve{
    {GraphPen::Tick, {0, 30}, {3, 30}},
    {GraphPen::Curve, {0, 200}, {10, 200}},
    {GraphPen::Curve, {10, 200}, {50, 100}},
    {GraphPen::Curve, {50, 100}, {100, 100}},
    {GraphPen::Curve, {100, 100}, {255, 100}},
};
const std::vector<int> kXs{10, 50, 100};

TEST(LiveMarker, sitsOnTheCurveAtThePointTheValueCountsFor)
{
    EXPECT_EQ(liveMark(kCurve, kXs, 50), (LiveMark{{50, 100}, false, 1}));
    // Between two points: on the line between them; the tie goes to the lower x.
    EXPECT_EQ(liveMark(kCurve, kXs, 30), (LiveMark{{30, 150}, false, 0}));
    EXPECT_EQ(liveMark(kCurve, kXs, 31), (LiveMark{{31, 148}, false, 1}));
    EXPECT_EQ(liveMark(kCurve, kXs, 10), (LiveMark{{10, 200}, false, 0}));
}

TEST(LiveMarker, aValueBeyondTheTablesRangeIsDrawnAtThatEdgeMarkedOutside)
{
    EXPECT_EQ(liveMark(kCurve, kXs, 4), (LiveMark{{10, 200}, true, -1}));
    EXPECT_EQ(liveMark(kCurve, kXs, 255), (LiveMark{{100, 100}, true, -1}));
    EXPECT_FALSE(liveMark(kCurve, {}, 50)) << "a table without points shows no marker";
}

TEST(LiveMarker, theTrailFadesWithAgeAndLeavesOutTheNewestRow)
{
    const std::vector<TimedValue> rows{{10, 0}, {50, 1'000'000}, {100, 1'500'000}, {30, 2'000'000}};
    const auto trail = liveTrail(kCurve, kXs, rows, 2'000'000, 1.5);
    ASSERT_EQ(trail.size(), 2u) << "older than the trail's length, or the marker's own row";
    EXPECT_EQ(trail[0].mark.at, (GraphPixel{50, 100}));
    EXPECT_DOUBLE_EQ(trail[0].strength, 1.0 / 3);
    EXPECT_EQ(trail[1].mark.at, (GraphPixel{100, 100}));
    EXPECT_DOUBLE_EQ(trail[1].strength, 2.0 / 3);
    EXPECT_TRUE(liveTrail(kCurve, kXs, rows, 2'000'000, 0).empty()) << "length 0 turns the trail off";

    const std::vector<TimedValue> steady{{50, 1'000'000}, {100, 1'200'000}, {50, 1'400'000}, {30, 2'000'000}};
    const auto held = liveTrail(kCurve, kXs, steady, 2'000'000, 1.5);
    ASSERT_EQ(held.size(), 2u) << "rows on one pixel make one dot";
    EXPECT_EQ(held[1].mark.at, (GraphPixel{50, 100}));
    EXPECT_DOUBLE_EQ(held[1].strength, 0.6) << "as strong as its newest row";
}

}  // namespace
}  // namespace tavo
