#pragma once
// Internal to src/common's Windows file code: names converted between the
// UTF-8 the program holds and the UTF-16 Windows takes, paths in the form
// that has no length limit, owned handles and the reasons of Windows errors.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/AtomicFile.h"

namespace tavo::file_detail {

// An open handle, closed when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    void reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (valid())
            ::CloseHandle(handle_);
        handle_ = handle;
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

private:
    HANDLE handle_;
};

// UTF-16 of UTF-8 text; nothing when the bytes are not UTF-8 (no file on
// Windows can have such a name).
std::optional<std::wstring> wideText(std::string_view utf8);
// UTF-8 of UTF-16 text (an unpaired surrogate becomes U+FFFD).
std::string utf8Text(std::wstring_view wide);

// A path as the W functions take it whatever its length: absolute, with
// backslashes, "." and ".." resolved, and the \\?\ (\\?\UNC\ for a share)
// prefix. A device (NUL, COM1, \\.\...) keeps the device form and is marked.
struct SystemPath {
    std::wstring path;
    bool device = false;
};
// Nothing when the path is empty or not UTF-8.
std::optional<SystemPath> systemPath(const std::string& path);

// The folder holding a system path and the name in it (empty for a root).
std::wstring folderOf(const std::wstring& path);
std::wstring nameOf(const std::wstring& path);

// The status of a Windows error code, worded as the Linux layer words errno.
FileStatus statusOfWindowsError(DWORD code);
inline FileStatus lastError()
{
    return statusOfWindowsError(::GetLastError());
}

// The system's own words for a Windows error code, in UTF-8, as strerror
// gives them on Linux: one line, no final full stop.
std::string windowsErrorText(DWORD code);

}  // namespace tavo::file_detail
