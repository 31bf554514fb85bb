#include "logging/LogCsv.h"

#include <cstdlib>

#include "common/TextFormat.h"

namespace tavo {

namespace {

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (const char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

// row x period / 1000 with three decimals, exactly: whole milliseconds.
std::string secondsText(std::int64_t row, std::int32_t periodMs)
{
    const std::int64_t ms = row * periodMs;
    const std::int64_t magnitude = std::llabs(ms);
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%03lld", ms < 0 ? "-" : "", static_cast<long long>(magnitude / 1000),
                  static_cast<long long>(magnitude % 1000));
    return text;
}

}  // namespace

std::string logCsv(const LogFileContent& log, const LogChannels& channels, bool wrapped)
{
    std::string out = "row,seconds";
    for (int n = 0; n < kChannelCount; ++n)
        if (maskBit(log.channelMask, n))
            out += "," + csvField(toUtf8(channels[static_cast<std::size_t>(n)].titleText()));
    const bool custom = (log.channelMask & kCustomBit) != 0;
    if (custom)
        out += ",Custom";
    out += '\n';
    const int count = loggedRowCount(log, wrapped);
    for (int k = 0; k < count; ++k) {
        const SampleRow& row = log.samples[static_cast<std::size_t>(loggedRow(log, count, k))];
        out += std::to_string(k) + "," + secondsText(k, log.samplePeriodMs);
        for (int n = 0; n < kChannelCount; ++n)
            if (maskBit(log.channelMask, n))
                out += "," + std::to_string(row[static_cast<std::size_t>(n)]);
        if (custom)
            out += "," + std::to_string(row[kCustomSlot]);
        out += '\n';
    }
    return out;
}

}  // namespace tavo
