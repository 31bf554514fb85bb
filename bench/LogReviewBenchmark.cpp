// The log window on a full ring: opening a 4096-row log of all nine traces
// and drawing the whole run must stay under 50 ms; a cursor move, which
// repaints the chart from its picture with the cursor over it and fills the
// read-out, under 5 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include <cmath>
#include <map>

#include "logging/LoggingConfig.h"
#include "review/ChannelScales.h"
#include "review/LogRunReader.h"
#include "review/paint/ReviewChartPainter.h"
#include "review/qt/LogWindow.h"
#include "review/qt/ReviewChartView.h"
#include "rom/RomImage.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace {

using namespace tavo;

// A wrapped ring: every row written, nine channels moving like a drive.
std::string fullLogBytes()
{
    LogFileContent log;
    log.channelMask = 0x1FF;
    log.samplePeriodMs = 62;
    log.writePos = 1234;
    for (int row = 0; row < kRingRows; ++row)
        for (int slot = 0; slot <= kCustomSlot; ++slot)
            log.samples[static_cast<std::size_t>(row)][static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(
                128 + 120 * std::sin(row * (0.003 + 0.002 * slot) + slot) + (row * 7 + slot) % 5);
    return encodeLogFile(log);
}

LogChannels titles()
{
    LoggingConfig config;
    setLoggingDefaults(config);
    return config.channels;
}

class NoScales : public ChannelScales {
public:
    std::optional<ChannelScale> scaleFor(std::string_view) const override { return ChannelScale{32, 0, "RPM"}; }
    bool setScale(std::string_view, const std::optional<ChannelScale>&) override { return true; }
};

// Reading the file's bytes into a run and drawing every row at the size
// the window first shows the chart.
void BM_OpenFullLogAndDrawWholeRun(benchmark::State& state)
{
    test::TempDir dir;
    const std::string path = dir.file("full.log");
    test::writeText(path, fullLogBytes());
    const TracePens pens = makeTracePens();
    const LogChannels names = titles();
    QImage chart(760, 620, QImage::Format_RGB32);
    for (auto _ : state) {
        const LogRunRead read = readLogRunFile(path, names);
        ChartView view;
        view.window = fitAll(timeRange(read.run->seconds));
        drawReviewChart(chart, *read.run, view, pens);
        benchmark::DoNotOptimize(chart.bits());
    }
}
BENCHMARK(BM_OpenFullLogAndDrawWholeRun)->Unit(benchmark::kMillisecond);

// The whole window: made, shown and painted once.
void BM_OpenFullLogWindow(benchmark::State& state)
{
    const std::string bytes = fullLogBytes();
    const TracePens pens = makeTracePens();
    const LogChannels names = titles();
    RomImage rom;
    NoScales scales;
    test::ScriptedPrompts prompts;
    for (auto _ : state) {
        LogRunRead read = readLogRun(bytes, names);
        LogWindow window(OpenedLog{"full.log", std::move(*read.run)}, {rom, scales, prompts, pens});
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        window.chart().repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(BM_OpenFullLogWindow)->Unit(benchmark::kMillisecond);

// One step of the cursor by the arrow key, with everything it repaints: the
// chart from its picture with the cursor over it, and the read-out of nine
// channels.
void BM_CursorMoveRedraw(benchmark::State& state)
{
    const TracePens pens = makeTracePens();
    RomImage rom;
    NoScales scales;
    test::ScriptedPrompts prompts;
    LogRunRead read = readLogRun(fullLogBytes(), titles());
    LogWindow window(OpenedLog{"full.log", std::move(*read.run)}, {rom, scales, prompts, pens});
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    QApplication::processEvents();
    ReviewChartView& chart = window.chart();
    for (auto _ : state) {
        if (chart.view().cursorRow == kRingRows - 1)
            chart.setCursorRow(0);
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&chart, &right);
        QApplication::processEvents();
    }
    if (chart.view().cursorRow <= 0)
        state.SkipWithError("the cursor did not move");
}
BENCHMARK(BM_CursorMoveRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
