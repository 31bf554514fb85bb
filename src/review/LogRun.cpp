#include "review/LogRun.h"

#include <algorithm>

#include "common/TextFormat.h"
#include "logging/LogCsv.h"

namespace tavo {

namespace {

constexpr const char* kCustomTitle = "Custom";

}  // namespace

LogRun logRunOf(const LogFileContent& log, const LogChannels& titles)
{
    LogRun run;
    run.logFile = std::make_shared<const LogFileContent>(log);
    run.logTitles = titles;
    run.wrapped = ringLooksWrapped(log);
    // "Fastest" logs back to back, as fast as the line answers: row x 1 ms
    // would be no time at all, so the rows are counted instead.
    run.times = log.samplePeriodMs > 1 ? RunTimes::Nominal : RunTimes::Rows;
    run.periodMs = std::max<std::int32_t>(log.samplePeriodMs, 1);
    const int count = loggedRowCount(log, run.wrapped);

    for (int n = 0; n < kChannelCount; ++n)
        if (maskBit(log.channelMask, n))
            run.channels.push_back({printableText(titles[static_cast<std::size_t>(n)].titleText()), n, {}});
    if ((log.channelMask & kCustomBit) != 0)
        run.channels.push_back({kCustomTitle, kCustomSlot, {}});

    run.seconds.reserve(static_cast<std::size_t>(count));
    for (RunChannel& channel : run.channels)
        channel.values.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        const SampleRow& row = log.samples[static_cast<std::size_t>(loggedRow(log, count, k))];
        run.seconds.push_back(run.times == RunTimes::Rows ? static_cast<double>(k + 1)
                                                          : static_cast<double>(k) * run.periodMs / 1000.0);
        for (RunChannel& channel : run.channels)
            channel.values.push_back(row[static_cast<std::size_t>(channel.slot)]);
    }
    return run;
}

std::vector<int> slotsForTitles(const std::vector<std::string>& columns, const LogChannels& titles)
{
    std::vector<int> slots;
    const bool customLast = !columns.empty() && columns.back() == kCustomTitle;
    const int channelColumns = static_cast<int>(columns.size()) - (customLast ? 1 : 0);
    int previous = -1;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c + 1 == columns.size() && customLast) {
            slots.push_back(kCustomSlot);
            break;
        }
        // A title only leads as far as leaves a channel for each column
        // after it: a channel renamed since the file was written must not
        // make a file of few columns unreadable.
        const int lastFree = kChannelCount - (channelColumns - static_cast<int>(c));
        int slot = -1;
        for (int n = previous + 1; n <= lastFree && slot < 0; ++n)
            if (printableText(titles[static_cast<std::size_t>(n)].titleText()) == columns[c])
                slot = n;
        if (slot < 0)
            slot = previous + 1;
        if (slot >= kChannelCount)
            return {};
        slots.push_back(slot);
        previous = slot;
    }
    return slots;
}

std::string runCsv(const LogRun& run)
{
    if (run.logFile)
        return logCsv(*run.logFile, run.logTitles, run.wrapped);
    return run.csvBytes;
}

std::string timeAxisText(const LogRun& run)
{
    if (run.times == RunTimes::Measured && run.heldTimes > 0)
        return "seconds, measured (" + std::to_string(run.heldTimes) + " going back held at the row before)";
    if (run.times == RunTimes::Measured)
        return "seconds, measured";
    if (run.times == RunTimes::Rows)
        return "row: logged at Fastest, the file holds no times";
    return "seconds, nominal: row x " + std::to_string(run.periodMs) + " ms";
}

std::string runTimeText(const LogRun& run, int row)
{
    if (row < 0 || row >= run.rowCount())
        return {};
    if (run.times == RunTimes::Rows)
        return "row " + std::to_string(row + 1);
    return formatFixed(run.seconds[static_cast<std::size_t>(row)], 3) + " s";
}

std::string cursorReadoutText(const LogRun& run, int row)
{
    if (row < 0 || row >= run.rowCount())
        return "No logged rows";
    std::string text = "Row " + std::to_string(row + 1) + " of " + std::to_string(run.rowCount());
    if (run.times != RunTimes::Rows)
        text += "   " + runTimeText(run, row);
    if (const auto gap = gapBeside(run.gaps, row))
        text += "   gap of " + formatFixed(gap->seconds, 3) + " s " + (gap->before == row ? "after" : "before") +
                " this row";
    return text;
}

}  // namespace tavo
