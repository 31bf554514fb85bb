// The Data Logging dialog at "Fastest" with the eight default channels
// against tavo-ecm-sim --line-timed at 62500 baud: its ticks run back to back
// on the link thread while the window draws each one; queries per second
// (12 a tick: the sync check's two, two per 16-bit channel, one per byte)
// beside the line's own limit.
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <chrono>

#include "link/qt/LinkThread.h"
#include "logging/LoggingConfig.h"
#include "logging/qt/DataLoggingDialog.h"
#include "logging/qt/LoggingSession.h"
#include "support/ScriptedPrompts.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

namespace {

constexpr double kQueriesPerTick = 12;

void runEvents(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void BM_DataLoggingDialogFastest(benchmark::State& state)
{
    tavo::test::TempDir dir;
    tavo::test::SimProcess sim({"--line-timed"});
    tavo::LinkState shown;
    tavo::LinkThread link(shown);
    tavo::AcquisitionState acquisition;
    acquisition.channelMask = 0xFF;
    acquisition.samplePeriodMs = 1;
    tavo::LoggingConfig config;
    tavo::setLoggingDefaults(config);
    const tavo::TracePens pens = tavo::makeTracePens();
    tavo::test::ScriptedPrompts prompts;
    tavo::LoggingSession session(acquisition, config, link, [&] {
        return tavo::LinkTarget{sim.device(), {1, 1, 3}};
    });
    tavo::DataLoggingDialog dialog({session, config, pens, prompts, dir.file("logs")});
    dialog.show();
    dialog.findChild<QPushButton*>("1121")->click();  // LOG
    for (int waited = 0; acquisition.sampleCount < 10 && waited < 3000; waited += 50)
        runEvents(50);
    if (acquisition.sampleCount < 10) {
        state.SkipWithError("the simulated ECM did not answer");
        return;
    }
    double ticks = 0;
    double seconds = 0;
    for (auto _ : state) {
        const int before = acquisition.sampleCount;
        const auto started = std::chrono::steady_clock::now();
        runEvents(2000);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        ticks += acquisition.sampleCount - before;
    }
    dialog.accept();
    const double limit = 1.0 / (20.0 / 62500.0 + 50e-6);
    state.counters["ticks_per_s"] = ticks / seconds;
    state.counters["queries_per_s"] = ticks * kQueriesPerTick / seconds;
    state.counters["line_limit_per_s"] = limit;
    state.counters["of_line_limit"] = ticks * kQueriesPerTick / seconds / limit;
}
BENCHMARK(BM_DataLoggingDialogFastest)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
