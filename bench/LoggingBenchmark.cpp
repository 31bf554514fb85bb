// Logging as fast as the line answers: `tavo-cli log --period-ms 1` with the
// eight default channels (12 queries a tick with the sync check) against
// tavo-ecm-sim --line-timed, queries per second beside the line's own limit
// of one query per 20 bit times plus the ECM's 50 us turnaround.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "cli/CliCommands.h"
#include "logging/LoggingConfig.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

namespace {

constexpr double kTurnaroundSeconds = 50e-6;

double jsonNumber(const std::string& json, const std::string& key)
{
    const std::size_t at = json.find("\"" + key + "\":");
    return at == std::string::npos ? 0.0 : std::stod(json.substr(at + key.size() + 3));
}

void tavoCliLogBackToBack(benchmark::State& state, int highSpeed)
{
    tavo::test::TempDir dir;
    tavo::LoggingConfig config;
    tavo::setLoggingDefaults(config);
    config.serial = {1, 1, highSpeed};
    const std::string configPath = dir.file("Logging.cfg");
    tavo::writeLoggingConfig(config, configPath);
    tavo::test::SimProcess sim({"--line-timed"});
    double queries = 0;
    double seconds = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        const int code = tavo::runCli({"log", "--device", sim.device(), "--ticks", "300", "--period-ms", "1",
                                       "--config", configPath, "--out", dir.file("run.log"), "--json"},
                                      out, err);
        if (code != 0) {
            state.SkipWithError(err.str().c_str());
            return;
        }
        queries += jsonNumber(out.str(), "queries");
        seconds += jsonNumber(out.str(), "seconds");
    }
    const double baud = tavo::baudForSpeed(static_cast<int>(tavo::SpeedGroup::High), highSpeed);
    const double limit = 1.0 / (20.0 / baud + kTurnaroundSeconds);
    state.counters["queries_per_s"] = queries / seconds;
    state.counters["line_limit_per_s"] = limit;
    state.counters["of_line_limit"] = queries / seconds / limit;
}

BENCHMARK_CAPTURE(tavoCliLogBackToBack, line_timed_62500_baud, 3)->Iterations(4)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(tavoCliLogBackToBack, line_timed_125000_baud, 4)->Iterations(4)->UseRealTime()->Unit(benchmark::kMillisecond);

// Rows a second at "Fastest" with the eight default channels through a USB
// adapter whose latency timer is `latencyMs` (tavo-ecm-sim --usb-latency-ms),
// on a line timed at 62500 baud: what the README's table of rows a second
// shows, with the median reply time.
void tavoCliLogThroughAdapter(benchmark::State& state, int latencyMs)
{
    tavo::test::TempDir dir;
    tavo::LoggingConfig config;
    tavo::setLoggingDefaults(config);
    config.serial = {1, 1, 3};
    const std::string configPath = dir.file("Logging.cfg");
    tavo::writeLoggingConfig(config, configPath);
    tavo::test::SimProcess sim({"--line-timed", "--usb-latency-ms", std::to_string(latencyMs)});
    double rows = 0;
    double seconds = 0;
    double medianMs = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        const int code = tavo::runCli({"log", "--device", sim.device(), "--seconds", "4", "--period-ms", "1",
                                       "--config", configPath, "--out", dir.file("run.log"), "--json"},
                                      out, err);
        if (code != 0) {
            state.SkipWithError(err.str().c_str());
            return;
        }
        rows += jsonNumber(out.str(), "answeredTicks");
        seconds += jsonNumber(out.str(), "seconds");
        medianMs = jsonNumber(out.str(), "median");
    }
    state.counters["rows_per_s"] = rows / seconds;
    state.counters["median_reply_ms"] = medianMs;
}

BENCHMARK_CAPTURE(tavoCliLogThroughAdapter, usb_latency_0_ms, 0)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(tavoCliLogThroughAdapter, usb_latency_1_ms, 1)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(tavoCliLogThroughAdapter, usb_latency_16_ms, 16)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
