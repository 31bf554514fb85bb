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

}  // namespace
