#pragma once
// The two ways a user saves the sample ring: the Data Logging dialog's
// "&Save..." (a new file named from the time of day in the log folder, no
// question asked) and the menu's "Save Current Log..." (a name chosen by the
// user, as a log file or as CSV). A failure is always said, with the path;
// the ring itself is never touched by a save.

#include <optional>
#include <string>

#include "logging/LogFile.h"

namespace tavo {

class UserPrompts;

// "&Save...": the path written, or nothing after saying why it failed.
std::optional<std::string> saveRingToLogFolder(const AcquisitionState& state, const std::string& folder,
                                               const TimeOfDay& time, UserPrompts& prompts);

// The line the dialog shows after a save: "Saved 142530.log in /home/me/Documents/TaVO Logs".
std::string savedLogText(const std::string& path);

// "Save Current Log...": asks for a name, offering "Log Files (*.log)" and
// "CSV Files (*.csv)"; the chosen filter says the format, and a name typed
// without an extension gets the filter's. False when cancelled or failed.
bool saveCurrentLog(const AcquisitionState& state, const LogChannels& channels, const std::string& folder,
                    const TimeOfDay& time, UserPrompts& prompts);

}  // namespace tavo
