#pragma once
// Logs from a fuzzer's input. A log file is 65548 bytes, too long for a
// fuzzer to keep whole while it mutates; so an input of exactly that length
// is taken as a log file as it is, and any other as a short form of one:
// the 12 header bytes (writePos, channel mask, sample period), two bytes of
// a starting ring row (little-endian), then rows of 16 bytes written into
// the ring from that row on (wrapping at its end). Missing bytes are zero.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "logging/LogFile.h"
#include "logging/LoggingConfig.h"

namespace tavo::fuzz {

// The log file an input stands for, made in one buffer kept for the whole
// run: a new 64 KiB string for every input cost more than the checks.
inline const std::string& logFileBytes(std::string_view input)
{
    static std::string bytes;
    if (input.size() == kLogFileSize) {
        bytes.assign(input);
        return bytes;
    }
    bytes.assign(kLogFileSize, '\0');
    const std::size_t header = std::min<std::size_t>(input.size(), 12);
    bytes.replace(0, header, input.substr(0, header));
    if (input.size() < 14)
        return bytes;
    const auto start = static_cast<std::size_t>(static_cast<unsigned char>(input[12]) |
                                                static_cast<unsigned char>(input[13]) << 8) % kRingRows;
    const std::string_view rows = input.substr(14, sizeof(SampleRing));
    // The rows up to the ring's end, then those that wrap to its start.
    const std::size_t first = std::min(rows.size(), (kRingRows - start) * kRowSlots);
    bytes.replace(12 + start * kRowSlots, first, rows.substr(0, first));
    bytes.replace(12, rows.size() - first, rows.substr(first));
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
