#include "logging/LogFile.h"

#include "common/LittleEndian.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/PathNames.h"

namespace tavo {

namespace {

static_assert(sizeof(SampleRing) == static_cast<std::size_t>(kRingRows) * kRowSlots, "the ring is its bytes alone");

// Names of one second tried before giving up: far more than anyone saves.
constexpr int kMostNamesPerSecond = 999;

bool rowHoldsValue(const SampleRow& row)
{
    for (const std::uint8_t value : row)
        if (value != 0)
            return true;
    return false;
}

}  // namespace

LogFileContent logContentOf(const AcquisitionState& state)
{
    LogFileContent log;
    log.writePos = state.writePos;
    log.channelMask = state.channelMask;
    log.samplePeriodMs = state.samplePeriodMs;
    log.samples = state.samples;
    return log;
}

std::string encodeLogFile(const LogFileContent& log)
{
    std::string out(kLogFileSize, '\0');
    putLittleEndian32(out, 0, static_cast<std::uint32_t>(log.writePos));
    putLittleEndian32(out, 4, log.channelMask);
    putLittleEndian32(out, 8, static_cast<std::uint32_t>(log.samplePeriodMs));
    // The ring is one run of bytes, row after row, as the file holds it.
    std::memcpy(out.data() + 12, log.samples.data(), sizeof(SampleRing));
    return out;
}

std::optional<LogFileContent> decodeLogFile(std::string_view bytes)
{
    if (bytes.size() != kLogFileSize)
        return std::nullopt;
    LogFileContent log;
    log.writePos = static_cast<std::int32_t>(getLittleEndian32(bytes, 0));
    log.channelMask = getLittleEndian32(bytes, 4);
    log.samplePeriodMs = static_cast<std::int32_t>(getLittleEndian32(bytes, 8));
    std::memcpy(log.samples.data(), bytes.data() + 12, sizeof(SampleRing));
    return log;
}

bool ringLooksWrapped(const LogFileContent& log)
{
    // A writePos outside the ring (a file from elsewhere) is taken modulo 4096.
    const int newest = ringRow(log.writePos);
    for (int row = newest + 1; row < kRingRows; ++row)
        if (rowHoldsValue(log.samples[static_cast<std::size_t>(row)]))
            return true;
    return newest != 0 && rowHoldsValue(log.samples[0]);
}

int loggedRowCount(const LogFileContent& log, bool wrapped)
{
    if (wrapped)
        return kRingRows;
    return ringRow(log.writePos);
}

int loggedRow(const LogFileContent& log, int count, int k)
{
    return ringRow(static_cast<long long>(ringRow(log.writePos)) - count + 1 + k);
}

std::string logFileName(const TimeOfDay& time, int n)
{
    char name[32];
    if (n <= 1)
        std::snprintf(name, sizeof name, "%02d%02d%02d.log", time.hour, time.minute, time.second);
    else
        std::snprintf(name, sizeof name, "%02d%02d%02d-%d.log", time.hour, time.minute, time.second, n);
    return name;
}

std::string defaultLogFolder()
{
    return pathInFolder(documentsFolder(), kLogFolderName);
}

LogSave saveLogFile(const LogFileContent& log, const std::string& folder, const TimeOfDay& time)
{
    LogSave save;
    save.path = pathInFolder(folder, logFileName(time));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        save.status = FileStatus::fromErrno(error.value());
        return save;
    }
    const std::string bytes = encodeLogFile(log);
    for (int n = 1; n <= kMostNamesPerSecond; ++n) {
        save.path = pathInFolder(folder, logFileName(time, n));
        save.status = createFileAtomically(save.path, bytes);
        if (!nameTaken(save.status))
            return save;
    }
    return save;
}

}  // namespace tavo
