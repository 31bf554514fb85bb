// Where and when a log is saved, on Windows: the user's Documents folder as
// the system knows it (moved, redirected or named in the user's language)
// and the local time of day.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>

#include "logging/LogFile.h"

namespace tavo {

namespace {

std::string utf8Of(const wchar_t* wide)
{
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();  // the terminating NUL
    return text;
}

}  // namespace

TimeOfDay localTimeOfDay()
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond};
}

std::string documentsFolder()
{
    PWSTR known = nullptr;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, &known)) && known) {
        const std::string folder = utf8Of(known);
        ::CoTaskMemFree(known);
        if (!folder.empty())
            return folder;
    }
    if (const wchar_t* profile = ::_wgetenv(L"USERPROFILE"); profile && *profile)
        return utf8Of(profile) + "\\Documents";
    return ".";
}

}  // namespace tavo
