// The Data Logging window with the eight default channels against
// tavo-ecm-sim --line-timed at 62500 baud, and what the window's own thread
// costs meanwhile (its CPU time over the wall time, in percent of a core):
//  - at "Fastest" against a healthy ECM: the ticks run back to back on the
//    link thread, the window takes each row and draws a column, the screen
//    is repainted at most at its own rate; queries per second (12 a tick:
//    the sync check's two, two per 16-bit channel, one per byte) beside the
//    line's own limit;
//  - at "Fastest" against an ECM that has stopped answering (port open);
//  - at "Fastest" against an ECM that is gone (the simulator killed).
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <ctime>

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

// CPU time of the calling thread (the window's), or of the whole process
// (the link thread's too).
double cpuSeconds(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

enum class Ecm { Healthy, Mute, Gone };

void runWindow(benchmark::State& state, Ecm ecm)
{
    tavo::test::TempDir dir;
    std::vector<std::string> options{"--line-timed"};
    if (ecm == Ecm::Mute)
        options.insert(options.end(), {"--mute-after", "600"});
    tavo::test::SimProcess sim(options);
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
    if (ecm == Ecm::Gone)
        sim.kill();
    if (ecm != Ecm::Healthy)
        runEvents(1500);  // the ECM's last rows are in, the window says it is silent
    double ticks = 0;
    double seconds = 0;
    double cpu = 0;
    double processCpu = 0;
    for (auto _ : state) {
        const int before = acquisition.sampleCount;
        const auto started = std::chrono::steady_clock::now();
        const double cpuBefore = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const double processBefore = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        runEvents(3000);
        cpu += cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuBefore;
        processCpu += cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processBefore;
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        ticks += acquisition.sampleCount - before;
    }
    dialog.accept();
    state.counters["window_cpu_percent"] = 100.0 * cpu / seconds;
    state.counters["process_cpu_percent"] = 100.0 * processCpu / seconds;
    state.counters["rows_per_s"] = ticks / seconds;
    if (ecm == Ecm::Healthy) {
        const double limit = 1.0 / (20.0 / 62500.0 + 50e-6);
        state.counters["queries_per_s"] = ticks * kQueriesPerTick / seconds;
        state.counters["line_limit_per_s"] = limit;
        state.counters["of_line_limit"] = ticks * kQueriesPerTick / seconds / limit;
    }
}

void BM_DataLoggingWindowFastest(benchmark::State& state)
{
    runWindow(state, Ecm::Healthy);
}
BENCHMARK(BM_DataLoggingWindowFastest)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_DataLoggingWindowSilentEcm(benchmark::State& state)
{
    runWindow(state, Ecm::Mute);
}
BENCHMARK(BM_DataLoggingWindowSilentEcm)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_DataLoggingWindowEcmGone(benchmark::State& state)
{
    runWindow(state, Ecm::Gone);
}
BENCHMARK(BM_DataLoggingWindowEcmGone)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
