#include "FuzzSamples.h"

#include "EngineModel.h"
#include "SampleCalibration.h"
#include "common/AtomicFile.h"
#include "logging/LogCsv.h"
#include "logging/LoggingConfig.h"

namespace tavo::fuzz {

LogFileContent driveLog(int rows, std::uint32_t mask, std::int32_t periodMs)
{
    LoggingConfig config;
    setLoggingDefaults(config);
    LogFileContent log;
    log.channelMask = mask;
    log.samplePeriodMs = periodMs;
    sim::RamPage page{};
    for (int k = 0; k < rows; ++k) {
        sim::fillEnginePage(page, k * periodMs / 1000.0);
        SampleRow& row = log.samples[static_cast<std::size_t>(ringRow(k + 1LL))];
        for (int n = 0; n < kChannelCount; ++n) {
            if (!maskBit(mask, n))
                continue;
            const LogChannel& channel = config.channels[static_cast<std::size_t>(n)];
            const auto at = static_cast<std::size_t>(channel.location & 0xFF);
            const int high = page[at];
            const int low = page[(at + 1) & 0xFF];
            row[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(
                channel.word ? static_cast<int>((high * 256 + low) * channel.multiplier) & 0xFF : high);
        }
        if ((mask & kCustomBit) != 0)
            row[kCustomSlot] = page[0x40];
        log.writePos = ringRow(k + 1LL);
    }
    return log;
}

std::string driveCsv(const LogFileContent& log)
{
    LoggingConfig config;
    setLoggingDefaults(config);
    return logCsv(log, config.channels, ringLooksWrapped(log));
}

bool writeFixtureFiles(const std::string& folder)
{
    LoggingConfig config;
    setLoggingDefaults(config);
    const LogFileContent log = driveLog(300, 0x1FF, 125);
    return sample::writeSampleFiles(folder) &&
           writeFileAtomically(folder + "/run.log", encodeLogFile(log)) &&
           writeFileAtomically(folder + "/run.csv", driveCsv(log)) &&
           writeFileAtomically(folder + "/" + kLoggingConfigFile, encodeLoggingConfig(config));
}

}  // namespace tavo::fuzz
