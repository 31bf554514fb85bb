// Reading on Windows: the same refusals as on Linux (folders, devices and
// pipes unopened, files over the limit refused whole), names in UTF-8 turned
// into long UTF-16 paths, and the file shared while it is read, so a save by
// another program is never blocked by TaVO reading.
#include "common/AtomicFile.h"
#include "common/RegularFileRead.h"

#include <algorithm>
#include <cerrno>

#include "common/WindowsFiles.h"

namespace tavo {

namespace {

using file_detail::Handle;
using file_detail::lastError;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileStatus openRegularFile(const std::string& path, Handle& file, std::uintmax_t& size)
{
    const auto target = file_detail::systemPath(path);
    if (!target)
        return FileStatus::fromErrno(ENOENT);
    if (target->device)
        return FileStatus::notRegularFile();
    const DWORD attributes = ::GetFileAttributesW(target->path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileStatus::fromErrno(EISDIR);
    file.reset(::CreateFileW(target->path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid())
        return lastError();
    // The check again on what was opened, in case the name changed in between.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return FileStatus::notRegularFile();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info))
        return lastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileStatus::fromErrno(EISDIR);
    size = (std::uintmax_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    return {};
}

// Bytes read into buffer, 0 at the end, -1 on a failure.
long long readSome(HANDLE file, void* buffer, std::size_t length)
{
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
    if (!::ReadFile(file, buffer, chunk, &got, nullptr))
        return -1;
    return got;
}

}  // namespace

FileContent readRegularFile(const std::string& path, std::size_t maxBytes, bool whole)
{
    FileContent content;
    Handle file;
    std::uintmax_t measured = 0;
    content.status = openRegularFile(path, file, measured);
    if (!content.status)
        return content;
    const OpenedFile opened{[&file](void* buffer, std::size_t length) { return readSome(file.get(), buffer, length); },
                            [] { return lastError(); }};
    return readOpenedFile(opened, measured, maxBytes, whole);
}

bool fileMissing(const std::string& path)
{
    const auto target = file_detail::systemPath(path);
    if (!target)
        return true;
    if (::GetFileAttributesW(target->path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool removeFile(const std::string& path)
{
    const auto target = file_detail::systemPath(path);
    if (!target)
        return false;
    if (::DeleteFileW(target->path.c_str()))
        return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace tavo
