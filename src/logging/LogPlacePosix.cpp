// Where and when a log is saved, on Linux and other POSIX systems: the
// desktop's documents folder and the local time of day.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "logging/LogFile.h"

namespace tavo {

namespace {

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        return user->pw_dir;
    return ".";
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" from user-dirs.dirs, with $HOME
// expanded; nothing when the file or the entry is not there.
std::optional<std::string> desktopDocumentsFolder(const std::string& home)
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config =
        (configHome && *configHome == '/' ? std::string(configHome) : home + "/.config") + "/user-dirs.dirs";
    const FileContent content = readFileStart(config, 64 * 1024);
    if (!content.status)
        return std::nullopt;
    const std::string text(content.bytes.begin(), content.bytes.end());
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    std::size_t at = 0;
    while ((at = text.find(key, at)) != std::string::npos) {
        const bool lineStart = at == 0 || text[at - 1] == '\n';
        const std::size_t begin = at + key.size();
        const std::size_t end = text.find('"', begin);
        at = begin;
        if (!lineStart || end == std::string::npos)
            continue;
        std::string value = text.substr(begin, end - begin);
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        else if (value.empty() || value[0] != '/')
            continue;
        // A documents folder set to the home folder itself means none.
        if (std::filesystem::path(value).lexically_normal() == std::filesystem::path(home).lexically_normal())
            return std::nullopt;
        return value;
    }
    return std::nullopt;
}

}  // namespace

TimeOfDay localTimeOfDay()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec};
}

std::string documentsFolder()
{
    const std::string home = homeFolder();
    return desktopDocumentsFolder(home).value_or(home + "/Documents");
}

}  // namespace tavo
