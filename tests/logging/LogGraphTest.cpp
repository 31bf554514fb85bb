#include <gtest/gtest.h>

#include <QImage>

#include <utility>
#include <vector>

#include "logging/LogGraphGeometry.h"
#include "logging/paint/LogGraphPainter.h"

namespace tavo {
namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kDim = qRgb(0, 128, 0);
const QRgb kBright = qRgb(0, 192, 0);
const QRgb kWhite = qRgb(255, 255, 255);       // channel 1
const QRgb kMagenta = qRgb(255, 0, 255);       // channel 2
const QRgb kCustom = qRgb(0, 191, 255);

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000U;
}

class LogGraphPixels : public ::testing::Test {
protected:
    TracePens pens = makeTracePens();
    LogGraph graph;
    AcquisitionState state;

    const QImage& column()
    {
        drawLogGraphColumn(graph, state, pens);
        return graph.bitmap;
    }
};

TEST(LogGraphGeometry, the_replay_marks_lost_ticks_and_where_one_log_run_ended_and_the_next_began)
{
    AcquisitionState state;
    state.writePos = 5;
    state.firstOfRun[1] = true;
    state.lostBefore[3] = 2;
    state.firstOfRun[4] = true;
    std::vector<std::pair<LogGraphColumn, int>> columns;
    forEachReplayColumn(state, 5, [&](ReplayColumn c) { columns.emplace_back(c.kind, c.row); });
    using K = LogGraphColumn;
    EXPECT_EQ(columns, (std::vector<std::pair<LogGraphColumn, int>>{
                           {K::Gap, 1}, {K::Restart, 1}, {K::Segment, 2}, {K::Gap, 3}, {K::Gap, 3},
                           {K::Restart, 3}, {K::Gap, 4}, {K::Restart, 4}, {K::Segment, 5}}));
}

TEST(LogGraphGeometry, values_map_to_y_and_the_grid_lines_follow_the_phase)
{
    EXPECT_EQ(logGraphY(0), 256);
    EXPECT_EQ(logGraphY(255), 1);
    EXPECT_EQ(nextGridPhase(0), 15);
    EXPECT_EQ(nextGridPhase(15), 14);
    const LogGraphLines full = fullGridLines(15);
    ASSERT_EQ(full.size(), 23u + 15u + 1u) << "verticals at 15..367, horizontals at 16..240, the middle";
    EXPECT_EQ(full[0], (LogGraphLine{LogGraphPen::DimGrid, 0, 15, 0, 15, 255}));
    EXPECT_EQ(full[22].x0, 367);
    EXPECT_EQ(full[23], (LogGraphLine{LogGraphPen::DimGrid, 0, 0, 16, 384, 16}));
    EXPECT_EQ(full[38], (LogGraphLine{LogGraphPen::BrightGrid, 0, 0, 128, 384, 128}));
    // Column 383 and the dots: every fourth phase without the 16 + 32k dots,
    // the bright 64 / 192 dots on for eight phases of sixteen.
    EXPECT_EQ(columnGridLines(0).size(), 1u + 4u + 1u + 3u);
    EXPECT_EQ(columnGridLines(0)[0], (LogGraphLine{LogGraphPen::DimGrid, 0, 383, 0, 383, 257}));
    EXPECT_EQ(columnGridLines(15).size(), 1u + 8u + 4u + 1u + 3u);
    EXPECT_EQ(columnGridLines(15)[0].pen, LogGraphPen::Black);
    EXPECT_EQ(columnGridLines(5).size(), 1u + 8u + 4u + 1u);
    EXPECT_EQ(columnGridLines(4).size(), 1u + 4u + 1u);

    // GDI's pixels, also for a line running upward: the start pixel in, the end pixel out.
    std::vector<std::array<int, 4>> runs;
    forEachLineRun(LogGraphLine{LogGraphPen::Trace, 0, 382, 256, 383, 1},
                   [&](int x, int y, int w, int h) { runs.push_back({x, y, w, h}); });
    EXPECT_EQ(runs, (std::vector<std::array<int, 4>>{{382, 129, 1, 128}, {383, 2, 1, 127}}));
    runs.clear();
    forEachLineRun(LogGraphLine{LogGraphPen::DimGrid, 0, 0, 16, 384, 16},
                   [&](int x, int y, int w, int h) { runs.push_back({x, y, w, h}); });
    EXPECT_EQ(runs, (std::vector<std::array<int, 4>>{{0, 16, 384, 1}}));
}

TEST_F(LogGraphPixels, the_first_column_draws_the_full_grid_once_scrolled_and_ends_with_a_dim_column_383)
{
    const QImage& image = column();
    ASSERT_EQ(image.width(), 384);
    ASSERT_EQ(image.height(), 258);
    EXPECT_EQ(graph.gridPhase, 0);
    // Verticals drawn at 15, 31, ... from y 0 to 254 (the end pixel left out), then scrolled.
    EXPECT_EQ(at(image, 14, 0), kDim);
    EXPECT_EQ(at(image, 14, 254), kDim);
    EXPECT_EQ(at(image, 14, 255), kBlack);
    EXPECT_EQ(at(image, 15, 5), kBlack);
    EXPECT_EQ(at(image, 366, 5), kDim);
    EXPECT_EQ(at(image, 382, 5), kBlack);
    // All fifteen horizontals dim and solid, the middle bright.
    for (const int x : {0, 100, 381, 382}) {
        EXPECT_EQ(at(image, x, 16), kDim) << x;
        EXPECT_EQ(at(image, x, 48), kDim) << x;
        EXPECT_EQ(at(image, x, 240), kDim) << x;
        EXPECT_EQ(at(image, x, 128), kBright) << x;
        EXPECT_EQ(at(image, x, 17), kBlack) << x;
    }
    EXPECT_EQ(at(image, 383, 0), kDim);
    EXPECT_EQ(at(image, 383, 256), kDim);
    EXPECT_EQ(at(image, 383, 257), kBlack) << "the column line stops before its end";
}

TEST_F(LogGraphPixels, later_columns_draw_the_dotted_and_dashed_lines_and_a_vertical_every_sixteen)
{
    for (int k = 0; k <= 16; ++k)
        column();
    const QImage& image = graph.bitmap;
    // The columns of calls 1 to 16 (phases 15 down to 0) now lie at x 367 to 382.
    for (int k = 1; k <= 16; ++k) {
        const int x = 366 + k;
        const int phase = 16 - k;
        EXPECT_EQ(at(image, x, 16), phase % 4 != 0 ? kDim : kBlack) << "phase " << phase;
        EXPECT_EQ(at(image, x, 32), kDim) << "phase " << phase;
        EXPECT_EQ(at(image, x, 64), phase < 4 || phase > 11 ? kBright : kBlack) << "phase " << phase;
        EXPECT_EQ(at(image, x, 192), phase < 4 || phase > 11 ? kBright : kBlack) << "phase " << phase;
        EXPECT_EQ(at(image, x, 128), kBright) << "phase " << phase;
        // The dots of a column fall on the column line drawn one call before.
        EXPECT_EQ(at(image, x, 100), x == 367 ? kDim : kBlack) << "phase " << phase;
    }
    EXPECT_EQ(at(image, 367, 5), kDim) << "the first column 383, scrolled by sixteen";
    EXPECT_EQ(at(image, 383, 5), kDim) << "phase 0 again";
    for (int x = 368; x < 383; ++x)
        EXPECT_EQ(at(image, x, 5), kBlack) << x;
}

TEST_F(LogGraphPixels, traces_run_from_the_previous_row_covering_the_start_pixel_but_not_the_end_pixel)
{
    state.channelMask = 0b11;
    state.writePos = 1;
    state.samples[0][0] = 0;
    state.samples[1][0] = 0;
    state.samples[0][1] = 255;
    state.samples[1][1] = 255;
    const QImage& flat = column();
    EXPECT_EQ(at(flat, 382, 256), kWhite) << "0 lies at y 256";
    EXPECT_EQ(at(flat, 382, 1), kMagenta) << "255 at y 1";
    EXPECT_EQ(at(flat, 383, 256), kDim) << "the end pixel is left to column 383";
    EXPECT_EQ(at(flat, 383, 1), kDim);

    state.samples[1][0] = 255;  // a jump from 0 to 255: pixels y 256 down to 2
    state.channelMask = 0b1;
    const QImage& steep = column();
    EXPECT_EQ(at(steep, 382, 256), kWhite);
    EXPECT_NE(at(steep, 383, 1), kWhite);
    int white = 0;
    for (int x = 382; x <= 383; ++x)
        for (int y = 0; y < 258; ++y)
            white += at(steep, x, y) == kWhite;
    EXPECT_EQ(white, 255);
    EXPECT_EQ(at(steep, 381, 256), kWhite) << "the flat column scrolled left by one";
}

TEST_F(LogGraphPixels, idle_columns_repeat_the_latest_segment_and_a_reopened_chart_starts_afresh)
{
    state.channelMask = 1;
    state.writePos = 0;
    state.samples[4095][0] = 100;  // the row before 0
    state.samples[0][0] = 100;
    for (int k = 0; k < 3; ++k)
        column();
    for (const int x : {380, 381, 382})
        EXPECT_EQ(at(graph.bitmap, x, 156), kWhite) << x;
    resetLogGraph(graph);
    EXPECT_TRUE(graph.bitmap.isNull());
    EXPECT_EQ(graph.gridPhase, 0);
    state.channelMask = 0;
    const QImage& fresh = column();
    EXPECT_EQ(at(fresh, 381, 156), kBlack);
    EXPECT_EQ(at(fresh, 14, 5), kDim) << "the full grid again, drawn at phase 15";
}

TEST_F(LogGraphPixels, the_custom_trace_is_drawn_last_from_0x3f_to_0xff)
{
    state.channelMask = 1 | kCustomBit;
    state.writePos = 1;
    for (const int row : {0, 1}) {
        state.samples[static_cast<std::size_t>(row)][0] = 50;
        state.samples[static_cast<std::size_t>(row)][kCustomSlot] = 50;
    }
    for (const auto& [location, drawn] : std::vector<std::pair<int, bool>>{{0x3E, false}, {0x3F, true}, {0xFF, true},
                                                                          {0x100, false}}) {
        state.customLocation = location;
        EXPECT_EQ(at(column(), 382, 206), drawn ? kCustom : kWhite) << std::hex << location;
    }
}

}  // namespace
}  // namespace tavo
