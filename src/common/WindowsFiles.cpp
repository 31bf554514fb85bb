#include "common/WindowsFiles.h"

#include <cerrno>
#include <vector>

namespace tavo::file_detail {

std::optional<std::wstring> wideText(std::string_view utf8)
{
    if (utf8.empty())
        return std::wstring();
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                             static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          length);
    return wide;
}

std::string utf8Text(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                              nullptr);
    return utf8;
}

std::optional<SystemPath> systemPath(const std::string& path)
{
    const auto wide = wideText(path);
    if (!wide || wide->empty() || wide->find(L'\0') != std::wstring::npos)
        return std::nullopt;
    // Already in the system's own form: taken as it is.
    if (wide->rfind(LR"(\\?\)", 0) == 0)
        return SystemPath{*wide, false};
    if (wide->rfind(LR"(\\.\)", 0) == 0)
        return SystemPath{*wide, true};
    std::vector<wchar_t> full(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetFullPathNameW(wide->c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return std::nullopt;
        if (length < full.size()) {
            full.resize(length);
            break;
        }
        full.resize(length + 1);
    }
    std::wstring absolute(full.begin(), full.end());
    // A reserved device name ("NUL", "C:\x\COM1") comes back as \\.\NAME.
    if (absolute.rfind(LR"(\\.\)", 0) == 0)
        return SystemPath{absolute, true};
    if (absolute.rfind(LR"(\\)", 0) == 0)
        return SystemPath{LR"(\\?\UNC\)" + absolute.substr(2), false};
    return SystemPath{LR"(\\?\)" + absolute, false};
}

std::wstring folderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring nameOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Not named in every SDK's headers.
constexpr DWORD kDiskQuotaExceeded = 1295;

FileStatus statusOfWindowsError(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return FileStatus::fromErrno(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_CANNOT_MAKE: return FileStatus::fromErrno(EACCES);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_UNABLE_TO_REMOVE_REPLACED: return FileStatus::inUse();
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded: return FileStatus::fromErrno(ENOSPC);
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW: return FileStatus::fromErrno(ENAMETOOLONG);
    case ERROR_WRITE_PROTECT: return FileStatus::fromErrno(EROFS);
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return FileStatus::fromErrno(EEXIST);
    case ERROR_TOO_MANY_OPEN_FILES: return FileStatus::fromErrno(EMFILE);
    case ERROR_CANT_RESOLVE_FILENAME: return FileStatus::fromErrno(ELOOP);
    case ERROR_FILE_TOO_LARGE: return FileStatus::fromErrno(EFBIG);
    case ERROR_DIRECTORY: return FileStatus::fromErrno(ENOTDIR);
    case ERROR_NOT_SAME_DEVICE: return FileStatus::fromErrno(EXDEV);
    default: return FileStatus::fromErrno(EIO);
    }
}

std::string windowsErrorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() && std::wstring_view(L"\r\n .").find(text.back()) != std::wstring_view::npos)
        text.pop_back();
    if (text.empty())
        return "Windows error " + std::to_string(code);
    return utf8Text(text);
}

}  // namespace tavo::file_detail
