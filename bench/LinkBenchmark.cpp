// Queries per second of queryRam against tavo-ecm-sim over a real pty: with
// line timing at 62500 and 125000 baud, beside the line's own limit of one
// query per 20 bit times plus the ECM's 50 us turnaround, and without line
// timing (this machine's floor for one round trip through a pty).
#include <benchmark/benchmark.h>

#include <chrono>

#include "link/EcmLink.h"
#include "link/PosixSerialLine.h"
#include "support/SimProcess.h"

namespace {

constexpr double kTurnaroundSeconds = 50e-6;

void queryRamAgainstSimulator(benchmark::State& state, int highSpeed, bool lineTimed)
{
    tavo::test::SimProcess sim(lineTimed ? std::vector<std::string>{"--line-timed"} : std::vector<std::string>{});
    tavo::PosixSerialLine line;
    tavo::SystemClock clock;
    tavo::EcmLink link(line, clock);
    link.connectEcm(sim.device(), {1, 1, highSpeed});
    if (!link.linkConnected()) {
        state.SkipWithError("the simulated ECM did not answer");
        return;
    }
    int address = 0;
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        link.queryRam(0x40 + address);
        address = (address + 1) & 0x0F;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double perSecond = static_cast<double>(state.iterations()) / seconds;
    state.counters["queries_per_s"] = perSecond;
    state.counters["round_trip_us"] = 1e6 / perSecond;
    if (lineTimed) {
        const double baud = tavo::baudForSpeed(static_cast<int>(tavo::SpeedGroup::High), highSpeed);
        const double limit = 1.0 / (20.0 / baud + kTurnaroundSeconds);
        state.counters["line_limit_per_s"] = limit;
        state.counters["of_line_limit"] = perSecond / limit;
    }
}

BENCHMARK_CAPTURE(queryRamAgainstSimulator, line_timed_62500_baud, 3, true)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(queryRamAgainstSimulator, line_timed_125000_baud, 4, true)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(queryRamAgainstSimulator, untimed, 4, false)->UseRealTime()->MinTime(2.0);

}  // namespace
