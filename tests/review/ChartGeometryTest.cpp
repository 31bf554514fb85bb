#include <gtest/gtest.h>

#include "review/ChartGeometry.h"

namespace tavo {
namespace {

// A plot 501 pixels wide from x 40: 500 steps from its first to its last column.
PlotRect plot501()
{
    PlotRect plot;
    plot.left = 40;
    plot.top = 20;
    plot.width = 501;
    plot.height = 256;
    return plot;
}

TEST(ChartTime, maps_time_to_pixels_at_every_zoom_keeping_the_anchor_in_place_and_inside_the_run)
{
    const PlotRect plot = plot501();
    const TimeRange run{0, 10};
    const double minSpan = minimumSpan(run, 101);  // rows every 0.1 s: four rows, 0.4 s
    EXPECT_DOUBLE_EQ(minSpan, 0.4);

    const TimeWindow all = fitAll(run);
    EXPECT_DOUBLE_EQ(xOfTime(all, plot, 0), 40);
    EXPECT_DOUBLE_EQ(xOfTime(all, plot, 5), 290);
    EXPECT_DOUBLE_EQ(xOfTime(all, plot, 10), 540);

    const TimeWindow twice = zoomWindow(all, 2, 5, run, minSpan);
    EXPECT_DOUBLE_EQ(twice.start, 2.5);
    EXPECT_DOUBLE_EQ(twice.span, 5);
    EXPECT_DOUBLE_EQ(xOfTime(twice, plot, 5), 290) << "the anchor stays where it was";
    EXPECT_DOUBLE_EQ(xOfTime(twice, plot, 2.5), 40);

    const TimeWindow eight = zoomWindow(twice, 4, 3, run, minSpan);
    EXPECT_DOUBLE_EQ(eight.span, 1.25);
    EXPECT_DOUBLE_EQ(xOfTime(eight, plot, 3), xOfTime(twice, plot, 3));
    EXPECT_DOUBLE_EQ(timeAtX(eight, plot, xOfTime(eight, plot, 3.3)), 3.3);

    EXPECT_DOUBLE_EQ(zoomWindow(eight, 1000, 3, run, minSpan).span, 0.4) << "never below four rows";
    EXPECT_EQ(zoomWindow(eight, 0.001, 3, run, minSpan), all) << "never beyond the whole run";
    const TimeWindow atStart = zoomWindow(all, 2, 0.5, run, minSpan);
    EXPECT_DOUBLE_EQ(atStart.start, 0.25);
    EXPECT_DOUBLE_EQ(scrollWindow(atStart, -3, run, minSpan).start, 0) << "kept inside the run";
    EXPECT_DOUBLE_EQ(scrollWindow(atStart, 30, run, minSpan).start, 5);
    EXPECT_DOUBLE_EQ(windowShowing(atStart, 7, run, minSpan).start, 2) << "moved just enough";
    EXPECT_EQ(windowShowing(atStart, 1, run, minSpan), atStart);

    EXPECT_EQ(fitAll({3, 3}), (TimeWindow{2.5, 1})) << "one row: a second around it";
}

TEST(ChartTime, ticks_fall_on_round_steps_at_least_the_asked_pixels_apart)
{
    const PlotRect plot = plot501();
    const TimeTicks whole = timeTicks({0, 10}, plot, 70);
    EXPECT_DOUBLE_EQ(whole.step, 2);
    EXPECT_EQ(whole.times, (std::vector<double>{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(whole.decimals, 0);

    const TimeTicks narrow = timeTicks({0.13, 0.6}, plot, 70);
    EXPECT_DOUBLE_EQ(narrow.step, 0.1);
    EXPECT_EQ(narrow.decimals, 1);
    ASSERT_EQ(narrow.times.size(), 6u);
    EXPECT_DOUBLE_EQ(narrow.times.front(), 0.2);
    EXPECT_EQ(tickText(narrow.times.back(), narrow.decimals), "0.7");
    EXPECT_EQ(timeTicks({100, 300}, plot, 70).step, 50);
    EXPECT_EQ(tickText(-0.00001, 1), "0.0");
}

TEST(ChartTime, times_beyond_a_steps_precision_still_give_a_few_ticks)
{
    // A CSV's seconds may be any size; the window is then far narrower than
    // its times can tell apart (found by fuzzing: the count of steps overflowed).
    const PlotRect plot = plot501();
    for (const TimeWindow window : {TimeWindow{1e17, 16}, TimeWindow{1e31, 0.001}, TimeWindow{-1e300, 1e-3}}) {
        const TimeTicks ticks = timeTicks(window, plot, 70);
        EXPECT_GT(ticks.step, 0);
        EXPECT_LE(ticks.times.size(), 9u) << window.start;
    }
}

TEST(ChartTime, the_cursor_takes_the_nearest_row_the_earlier_on_a_tie_and_the_first_of_equal_times)
{
    const std::vector<double> seconds{0, 1, 1, 2, 4};
    EXPECT_EQ(rowNearest(seconds, -5), 0);
    EXPECT_EQ(rowNearest(seconds, 0.6), 1);
    EXPECT_EQ(rowNearest(seconds, 1), 1);
    EXPECT_EQ(rowNearest(seconds, 1.5), 1) << "half way: the earlier row";
    EXPECT_EQ(rowNearest(seconds, 3.1), 4);
    EXPECT_EQ(rowNearest(seconds, 99), 4);
    EXPECT_EQ(rowNearest({}, 1), -1);
}

TEST(ChartTrace, draws_each_row_when_there_is_room_and_a_column_s_first_least_greatest_and_last_when_not)
{
    const PlotRect plot = plot501();
    const std::vector<double> seconds{0, 2, 4, 6, 8, 10};
    const std::vector<std::uint8_t> values{0, 255, 10, 20, 30, 40};
    const std::vector<TracePoint> zoomed = tracePoints(seconds, values, {3, 2}, plot);
    // The row at 4 s is in the window, with the row before it and the row after it.
    EXPECT_EQ(zoomed, (std::vector<TracePoint>{
                          {-210, yOfValue(plot, 255)}, {290, yOfValue(plot, 10)}, {790, yOfValue(plot, 20)}}));
    EXPECT_EQ(yOfValue(plot, 255), 20);
    EXPECT_EQ(yOfValue(plot, 0), 275);

    // A thousand rows in one column: its first, least, greatest and last, in the order they came.
    std::vector<double> dense;
    std::vector<std::uint8_t> wave;
    for (int k = 0; k < 1000; ++k) {
        dense.push_back(k * 1e-6);
        wave.push_back(static_cast<std::uint8_t>(k == 500 ? 250 : k == 700 ? 3 : 100 + k % 7));
    }
    const std::vector<TracePoint> column = tracePoints(dense, wave, {0, 10}, plot);
    std::vector<int> ys;
    for (const TracePoint& point : column)
        ys.push_back(point.y);
    EXPECT_EQ(ys, (std::vector<int>{yOfValue(plot, 100), yOfValue(plot, 250), yOfValue(plot, 3),
                                    yOfValue(plot, 100 + 999 % 7)}));
}

TEST(ChartTrace, a_gap_breaks_every_trace_and_its_columns_lie_between_its_two_rows)
{
    const PlotRect plot = plot501();
    // Rows at 0..4 s, silence, rows at 9 and 10 s: 50 pixels a second.
    const std::vector<double> seconds{0, 1, 2, 3, 4, 9, 10};
    const std::vector<std::uint8_t> values{10, 10, 10, 10, 10, 200, 200};
    const std::vector<RunGap> gaps{{4, 5.0}};
    const std::vector<RowSpan> spans = spansBetweenGaps(7, gaps);
    EXPECT_EQ(spans, (std::vector<RowSpan>{{0, 5}, {5, 7}}));
    EXPECT_EQ(spansBetweenGaps(7, {}), (std::vector<RowSpan>{{0, 7}}));

    const TimeWindow all{0, 10};
    const std::vector<TracePoint> before = tracePoints(seconds, values, all, plot, spans[0]);
    const std::vector<TracePoint> after = tracePoints(seconds, values, all, plot, spans[1]);
    EXPECT_EQ(before.back(), (TracePoint{240, yOfValue(plot, 10)})) << "ends on the row before the silence";
    EXPECT_EQ(after.front(), (TracePoint{490, yOfValue(plot, 200)})) << "starts on the row after it";
    EXPECT_EQ(gapColumns(seconds, gaps, all, plot), (std::vector<GapColumns>{{241, 489}}));
    // Scrolled so the silence fills the plot, and so it is out of sight.
    EXPECT_EQ(gapColumns(seconds, gaps, {5, 2}, plot), (std::vector<GapColumns>{{40, 540}}));
    EXPECT_TRUE(gapColumns(seconds, gaps, {0, 3}, plot).empty());
}

TEST(ChartCursor, its_time_label_sits_inside_the_plot_beside_the_line_clear_of_the_tick_labels)
{
    const PlotRect plot = plot501();
    const LabelBox middle = cursorLabelBox(plot, 300, 60, 15);
    EXPECT_EQ(middle, (LabelBox{303, 21, 60, 15}));
    const LabelBox atEnd = cursorLabelBox(plot, 530, 60, 15);
    EXPECT_EQ(atEnd.x + atEnd.width, 527) << "left of the line where the plot ends";
    for (const int x : {40, 300, 540})
        EXPECT_LT(cursorLabelBox(plot, x, 60, 15).y + 15, plot.bottom()) << "above the tick labels";
}

TEST(ChartLegend, entries_wrap_into_rows_within_the_width)
{
    const std::vector<LegendPlace> places = legendPlaces({60, 60, 60}, 40, 200);
    EXPECT_EQ(places, (std::vector<LegendPlace>{{40, 0}, {40 + 82 + kLegendGap, 0}, {40, 1}}));
    EXPECT_EQ(legendRows(places), 2);
    EXPECT_EQ(plotRect(800, 400, 2).top, 6 + 2 * kChartLegendRowHeight + 6);
}

}  // namespace
}  // namespace tavo
