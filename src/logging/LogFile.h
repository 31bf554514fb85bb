#pragma once
// Log files: the sample ring with its position, channel mask and sample
// period, 65548 bytes, little-endian, no header. "Save..." names them from
// the time of day ("142530.log") in one folder, "TaVO Logs" in the user's
// documents folder, and never replaces an earlier run.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/AtomicFile.h"
#include "logging/Acquisition.h"

namespace tavo {

inline constexpr std::size_t kLogFileSize = 12 + sizeof(SampleRing);  // 65548
inline constexpr const char* kLogFolderName = "TaVO Logs";

// What a log file holds.
struct LogFileContent {
    std::int32_t writePos = 0;
    std::uint32_t channelMask = 0;
    std::int32_t samplePeriodMs = 0;
    SampleRing samples{};
};

LogFileContent logContentOf(const AcquisitionState& state);
std::string encodeLogFile(const LogFileContent& log);
// Nothing unless the bytes are exactly one log file long.
std::optional<LogFileContent> decodeLogFile(std::string_view bytes);

// The ring's rows in time order. A log file does not say whether the ring
// has wrapped; it has when a row after writePos (or row 0) holds a value,
// for before the first wrap those rows were never written.
bool ringLooksWrapped(const LogFileContent& log);
// How many rows a run fills: 4096 after a wrap, else rows 1 to writePos.
int loggedRowCount(const LogFileContent& log, bool wrapped);
// The ring row of the k-th oldest of `count` logged rows ending at writePos.
int loggedRow(const LogFileContent& log, int count, int k);

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};
TimeOfDay localTimeOfDay();

// "HHmmss.log", 24-hour clock; the n-th name of that second gets "-n"
// before ".log" (n from 2 on).
std::string logFileName(const TimeOfDay& time, int n = 1);

// The user's documents folder: on Linux the desktop's own choice
// (XDG_DOCUMENTS_DIR in user-dirs.dirs), else "Documents" in the home
// folder; on Windows the system's Documents folder (LogPlace*.cpp).
std::string documentsFolder();
// The folder "Save..." writes to: "TaVO Logs" in the documents folder.
std::string defaultLogFolder();

struct LogSave {
    FileStatus status;
    std::string path;  // the file written, or the one that could not be
};

// Writes the log into `folder` (created when missing) as "HHmmss.log", or
// "HHmmss-2.log" and so on when the name is taken: an earlier file is never
// replaced. Written to a temporary file first and renamed into place.
LogSave saveLogFile(const LogFileContent& log, const std::string& folder, const TimeOfDay& time);

}  // namespace tavo
