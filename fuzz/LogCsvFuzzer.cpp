// The log window's reader of a CSV that TaVO wrote, on any bytes, with the
// default channel titles and with titles of the file's own columns. A run
// it takes has one value per row in every channel, times that never go
// back, distinct slots in the order slotsForTitles gives them, and exports
// the very bytes it read.
#include <cmath>
#include <set>

#include "FuzzSupport.h"
#include "logging/LoggingConfig.h"
#include "review/ChartGeometry.h"
#include "review/LogRunReader.h"

using namespace tavo;

namespace {

void checkRun(const LogRun& run, std::string_view bytes)
{
    std::set<int> slots;
    for (const RunChannel& channel : run.channels) {
        FUZZ_CHECK(channel.values.size() == run.seconds.size());
        FUZZ_CHECK(channel.slot >= 0 && channel.slot <= kCustomSlot);
        FUZZ_CHECK(slots.insert(channel.slot).second);
    }
    for (std::size_t k = 0; k < run.seconds.size(); ++k) {
        FUZZ_CHECK(std::isfinite(run.seconds[k]));
        FUZZ_CHECK(k == 0 || run.seconds[k] >= run.seconds[k - 1]);
    }
    FUZZ_CHECK(run.heldTimes >= 0 && run.heldTimes < std::max(run.rowCount(), 1));
    FUZZ_CHECK(run.times == RunTimes::Measured || run.periodMs >= 1);
    // Gaps only in measured times, each between two rows and forward in time.
    FUZZ_CHECK(run.times == RunTimes::Measured || run.gaps.empty());
    for (const RunGap& gap : run.gaps)
        FUZZ_CHECK(gap.before >= 0 && gap.before + 1 < run.rowCount() && !(gap.seconds <= 0));
    FUZZ_CHECK(runCsv(run) == bytes);
    timeAxisText(run);

    // The chart of the whole run, as the log window first shows it.
    const TimeRange range = timeRange(run.seconds);
    const TimeWindow all = fitAll(range);
    FUZZ_CHECK(std::isfinite(all.start) && std::isfinite(all.span) && all.span > 0);
    const double minSpan = minimumSpan(range, run.rowCount());
    const PlotRect plot = plotRect(800, 400, 1);
    const TimeWindow zoomed = zoomWindow(all, 8, range.first, range, minSpan);
    for (const TimeWindow& window : {all, zoomed, scrollWindow(zoomed, -zoomed.span, range, minSpan)}) {
        FUZZ_CHECK(std::isfinite(window.start) && std::isfinite(window.span) && window.span > 0);
        timeTicks(window, plot, 60);
        for (const RunChannel& channel : run.channels)
            for (const RowSpan& span : spansBetweenGaps(run.rowCount(), run.gaps))
                tracePoints(run.seconds, channel.values, window, plot, span);
        for (const GapColumns& gap : gapColumns(run.seconds, run.gaps, window, plot))
            FUZZ_CHECK(gap.left >= plot.left && gap.right <= plot.right() && gap.left <= gap.right);
        const int row = rowNearest(run.seconds, window.start + window.span / 2);
        FUZZ_CHECK(row >= -1 && row < run.rowCount());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::bytesOf(data, size);
    LoggingConfig config;
    setLoggingDefaults(config);
    const LogRunRead read = readCsvRun(bytes, config.channels);
    FUZZ_CHECK(read.run.has_value() != !read.problem.empty());
    if (!read.run)
        return 0;
    checkRun(*read.run, bytes);

    // Titles that are the file's own columns, the last first: columns find
    // their channels out of order.
    LogChannels titles{};
    for (std::size_t c = 0; c < read.run->channels.size() && c < titles.size(); ++c)
        titles[titles.size() - 1 - c].setTitle(read.run->channels[c].title);
    const LogRunRead again = readCsvRun(bytes, titles);
    FUZZ_CHECK(again.run.has_value());
    checkRun(*again.run, bytes);
    return 0;
}
