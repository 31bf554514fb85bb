#include "logging/LogSaving.h"

#include <filesystem>
#include <system_error>

#include "common/PathNames.h"
#include "common/UserPrompts.h"
#include "logging/LogCsv.h"

namespace tavo {

namespace {

void sayFailure(UserPrompts& prompts, const std::string& what, const std::string& path, const FileStatus& status)
{
    prompts.showMessage("Unable to save the " + what + ":\n" + path + "\n" + status.reason(), "TaVO Error",
                        MessageIcon::Warning);
}

std::string withExtension(const std::string& path, const char* extension)
{
    const std::size_t slash = lastPathSeparator(path);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.find('.') == std::string::npos ? path + extension : path;
}

}  // namespace

std::optional<std::string> saveRingToLogFolder(const AcquisitionState& state, const std::string& folder,
                                               const TimeOfDay& time, UserPrompts& prompts)
{
    const LogSave save = saveLogFile(logContentOf(state), folder, time);
    if (!save.status) {
        sayFailure(prompts, "log file", save.path, save.status);
        return std::nullopt;
    }
    return save.path;
}

std::string savedLogText(const std::string& path)
{
    const std::size_t slash = lastPathSeparator(path);
    if (slash == std::string::npos)
        return "Saved " + path;
    return "Saved " + path.substr(slash + 1) + " in " + (slash == 0 ? "/" : path.substr(0, slash));
}

bool saveCurrentLog(const AcquisitionState& state, const LogChannels& channels, const std::string& folder,
                    const TimeOfDay& time, UserPrompts& prompts)
{
    FileRequest request;
    request.title = "Save Current Log";
    request.filterName = "Log Files";
    request.pattern = "*.log";
    request.moreFilters = {{"CSV Files", "*.csv"}};
    request.initialPath = pathInFolder(folder, logFileName(time));
    request.confirmReplace = true;
    // The chooser opens in the log folder, made when missing as "&Save..."
    // would; where it cannot be made the chooser starts elsewhere.
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const auto chosen = prompts.chooseFileToSaveAs(request);
    if (!chosen)
        return false;
    const bool csv = chosen->filter == 1;
    const LogFileContent log = logContentOf(state);
    const std::string path = withExtension(chosen->path, csv ? ".csv" : ".log");
    // The CSV of the ring in memory has the times the rows were sampled.
    const std::string bytes = csv ? logCsv(state, channels) : encodeLogFile(log);
    if (const FileStatus written = writeFileAtomically(path, bytes); !written) {
        sayFailure(prompts, csv ? "CSV file" : "log file", path, written);
        return false;
    }
    return true;
}

}  // namespace tavo
