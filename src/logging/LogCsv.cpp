#include "logging/LogCsv.h"

#include <cinttypes>
#include <cstdio>
#include <functional>

#include "common/TextFormat.h"

namespace tavo {

namespace {

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (const char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

// Whole milliseconds, or microseconds rounded to them, as seconds with
// three decimals; a time before the first row (a clock that stepped) is 0.
std::string secondsText(std::int64_t milliseconds)
{
    if (milliseconds < 0)
        milliseconds = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%" PRId64 ".%03" PRId64, milliseconds / 1000, milliseconds % 1000);
    return text;
}

std::string csvOf(const LogChannels& channels, std::uint32_t mask, const SampleRing& samples, int newest, int count,
                  const std::function<std::string(int k, int row)>& seconds)
{
    std::string out = "row,seconds";
    for (int n = 0; n < kChannelCount; ++n)
        if (maskBit(mask, n))
            out += "," + csvField(printableText(channels[static_cast<std::size_t>(n)].titleText()));
    const bool custom = (mask & kCustomBit) != 0;
    if (custom)
        out += ",Custom";
    out += '\n';
    for (int k = 0; k < count; ++k) {
        const int index = ringRow(static_cast<long long>(newest) - count + 1 + k);
        const SampleRow& row = samples[static_cast<std::size_t>(index)];
        out += std::to_string(k) + "," + seconds(k, index);
        for (int n = 0; n < kChannelCount; ++n)
            if (maskBit(mask, n))
                out += "," + std::to_string(row[static_cast<std::size_t>(n)]);
        if (custom)
            out += "," + std::to_string(row[kCustomSlot]);
        out += '\n';
    }
    return out;
}

}  // namespace

std::string logCsv(const LogFileContent& log, const LogChannels& channels, bool wrapped)
{
    const int count = loggedRowCount(log, wrapped);
    const auto period = static_cast<std::uint32_t>(log.samplePeriodMs);
    return csvOf(channels, log.channelMask, log.samples, ringRow(log.writePos), count, [period](int k, int) {
        return secondsText(static_cast<std::int64_t>(k) * period);
    });
}

std::string logCsv(const AcquisitionState& state, const LogChannels& channels)
{
    const int count = ringWrapped(state) ? kRingRows : ringRow(state.writePos);
    const int newest = ringRow(state.writePos);
    const std::int64_t first = state.rowTimesUs[static_cast<std::size_t>(ringRow(newest - count + 1))];
    return csvOf(channels, state.channelMask, state.samples, newest, count, [&](int, int row) {
        const std::int64_t micros = state.rowTimesUs[static_cast<std::size_t>(row)] - first;
        return secondsText((micros + 500) / 1000);
    });
}

bool ringWrapped(const AcquisitionState& state)
{
    return state.sampleCount >= kRingRows;
}

}  // namespace tavo
