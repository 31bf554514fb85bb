#pragma once
// Logs from a fuzzer's input. A log file is 65548 bytes, too long for a
// fuzzer to keep whole while it mutates; so an input of exactly that length
// is taken as a log file as it is, and any other as a short form of one:
// the 12 header bytes (writePos, channel mask, sample period), two bytes of
// a starting ring row (little-endian), then rows of 16 bytes written into
// the ring from that row on (wrapping at its end). Missing bytes are zero.

#include <cstddef>
#include <string>
#include <string_view>

#include "logging/LogFile.h"
#include "logging/LoggingConfig.h"

namespace tavo::fuzz {

inline std::string logFileBytes(std::string_view input)
{
    if (input.size() == kLogFileSize)
        return std::string(input);
    std::string bytes(kLogFileSize, '\0');
    const std::size_t header = std::min<std::size_t>(input.size(), 12);
    bytes.replace(0, header, input.substr(0, header));
    if (input.size() < 14)
        return bytes;
    const auto start = static_cast<std::size_t>(static_cast<unsigned char>(input[12]) |
                                                static_cast<unsigned char>(input[13]) << 8) % kRingRows;
    const std::string_view rows = input.substr(14);
    for (std::size_t i = 0; i < rows.size() && i < sizeof(SampleRing); ++i) {
        const std::size_t row = (start + i / kRowSlots) % kRingRows;
        bytes[12 + row * kRowSlots + i % kRowSlots] = rows[i];
    }
    return bytes;
}

// The channel titles of a Logging.cfg given as bytes, over the defaults.
inline LogChannels titlesOf(std::string_view configBytes)
{
    LoggingConfig config;
    setLoggingDefaults(config);
    decodeLoggingConfig(config, configBytes);
    return config.channels;
}

}  // namespace tavo::fuzz
