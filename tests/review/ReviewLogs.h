#pragma once
// Log files with known rows for the review tests.

#include <vector>

#include "logging/LogFile.h"
#include "logging/LoggingConfig.h"

namespace tavo::test {

// An unwrapped log: the k-th logged row (ring row k + 1) holds columns[c][k]
// in slot channelSlots[c]; the mask has those channelSlots' bits.
inline LogFileContent knownLog(const std::vector<int>& channelSlots, const std::vector<std::vector<int>>& columns,
                               std::int32_t periodMs = 62)
{
    LogFileContent log;
    log.samplePeriodMs = periodMs;
    for (std::size_t c = 0; c < channelSlots.size(); ++c) {
        log.channelMask |= 1u << channelSlots[c];
        for (std::size_t k = 0; k < columns[c].size(); ++k)
            log.samples[k + 1][static_cast<std::size_t>(channelSlots[c])] = static_cast<std::uint8_t>(columns[c][k]);
        log.writePos = static_cast<std::int32_t>(columns[c].size());
    }
    return log;
}

inline LogChannels defaultTitles()
{
    LoggingConfig config;
    setLoggingDefaults(config);
    return config.channels;
}

}  // namespace tavo::test
