#include "logging/LogCsv.h"

#include <cstdlib>

namespace tavo {

namespace {

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t follow = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
        if (follow == 4 || text.size() - i <= follow)
            return false;
        for (std::size_t k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += follow + 1;
    }
    return true;
}

std::string utf8Title(std::string_view title)
{
    if (isValidUtf8(title))
        return std::string(title);
    std::string out;
    for (const char ch : title) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

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
            out += "," + csvField(utf8Title(channels[static_cast<std::size_t>(n)].titleText()));
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
