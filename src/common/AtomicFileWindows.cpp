// The safe save on Windows. The new content goes to a temporary file beside
// the target, is flushed to the disk (FlushFileBuffers) and then takes the
// target's place: ReplaceFileW where a file is replaced (it keeps the old
// file's attributes, security and creation time), MoveFileExW with
// MOVEFILE_WRITE_THROUGH where one is created. A file another program holds
// open without sharing deletion cannot be replaced on Windows: the save
// waits half a second for it (virus scanners and indexers let go within
// moments), then says the file is open in another program and leaves it as
// it was.
#include "common/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <vector>

#include "common/SaveNames.h"
#include "common/SaveSteps.h"
#include "common/WindowsFiles.h"

namespace tavo {

namespace {

using file_detail::Handle;
using file_detail::lastError;
using file_detail::SystemPath;

// How long a replace waits for another program to let go of the file.
constexpr int kReplaceTries = 10;
constexpr DWORD kReplacePauseMs = 50;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring temporaryName()
{
    static thread_local std::mt19937 rng{std::random_device{}()};
    const std::string name = temporaryFileName(::GetCurrentProcessId(), static_cast<std::uint32_t>(rng()));
    return std::wstring(name.begin(), name.end());
}

bool processGone(DWORD pid)
{
    Handle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!process.valid())
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

// A save killed between naming its temporary file and renaming it leaves
// the file behind; the next save in the folder removes those of programs
// that are gone. A live program's temporary file is never touched.
void removeAbandonedTemporaries(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW((folder + L"\\.tavo-*.tmp").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    const auto gone = [](std::uint32_t pid) { return processGone(pid); };
    do {
        if (abandonedTemporary(file_detail::utf8Text(found.cFileName), ::GetCurrentProcessId(), gone))
            ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

bool writeAll(HANDLE file, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return false;
        done += written;
    }
    return true;
}

// What a save needs to know of the file it replaces.
struct Existing {
    DWORD attributes = 0;
    DWORD links = 1;
    std::uint64_t index = 0;  // the file's identity on its volume
};

// The file at `path`: nothing when there is none; a failure for anything
// that is not a plain file one may replace. A symbolic link (any reparse
// point) is followed: `path` becomes the file it names.
FileStatus examineTarget(std::wstring& path, std::optional<Existing>& existing)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const FileStatus status = lastError();
        return status.missing() ? FileStatus() : status;
    }
    Handle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return lastError();
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        std::vector<wchar_t> resolved(32768);
        const DWORD length = ::GetFinalPathNameByHandleW(file.get(), resolved.data(),
                                                         static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
        if (length == 0 || length >= resolved.size())
            return lastError();
        path.assign(resolved.data(), length);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info))
        return lastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileStatus::fromErrno(EISDIR);
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return FileStatus::notRegularFile();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        return FileStatus::readOnly();
    existing = Existing{info.dwFileAttributes, info.nNumberOfLinks,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    return {};
}

// A temporary file in the target's folder, removed again unless it took
// the target's place or was kept on purpose.
class Temporary {
public:
    explicit Temporary(std::wstring folder) : folder_(std::move(folder)) {}
    ~Temporary()
    {
        file_.reset();
        if (!path_.empty() && !keep_)
            ::DeleteFileW(path_.c_str());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    // Creates it, writes the bytes and flushes them to the disk.
    FileStatus fill(std::string_view bytes)
    {
        for (int attempt = 0; attempt < 100 && !file_.valid(); ++attempt) {
            const std::wstring path = folder_ + L"\\" + temporaryName();
            file_.reset(::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file_.valid())
                path_ = path;
            else if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
                return lastError();
        }
        if (!file_.valid())
            return FileStatus::fromErrno(EEXIST);
        if (!writeAll(file_.get(), bytes) || !::FlushFileBuffers(file_.get()))
            return lastError();
        file_.reset();
        return {};
    }

    // Gives it another name in the same folder, replacing a file there.
    bool rename(const std::wstring& path)
    {
        if (!::MoveFileExW(path_.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_ = path;
        return true;
    }

    const std::wstring& path() const { return path_; }
    // It has taken the target's place, or holds what a cut save was writing.
    void keep() { keep_ = true; }

private:
    std::wstring folder_;
    Handle file_;
    std::wstring path_;
    bool keep_ = false;
};

bool fileInUse(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_USER_MAPPED_FILE;
}

// Whether the file may be replaced now: another program holding it open
// without sharing deletion keeps it in place. Asked before replacing, for a
// replace that fails half way may leave files of its own behind (Wine's).
FileStatus waitUntilReplaceable(const std::wstring& target)
{
    for (int attempt = 1;; ++attempt) {
        Handle probe(::CreateFileW(target.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (probe.valid())
            return {};
        const DWORD error = ::GetLastError();
        if (!fileInUse(error) || attempt == kReplaceTries)
            return file_detail::statusOfWindowsError(error);
        ::Sleep(kReplacePauseMs);
    }
}

// The old file's attributes on the new one (hidden, system, not indexed),
// and "changed" for backup programs. ReplaceFileW merges them on Windows;
// not every implementation does.
void keepAttributes(const std::wstring& target, const Existing& old)
{
    constexpr DWORD settable = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                               FILE_ATTRIBUTE_TEMPORARY;
    const DWORD wanted = (old.attributes & settable) | FILE_ATTRIBUTE_ARCHIVE;
    const DWORD now = ::GetFileAttributesW(target.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & settable) != wanted)
        ::SetFileAttributesW(target.c_str(), (now & ~settable) | wanted);
}

// Puts the complete temporary file in the target's place.
FileStatus replaceTarget(Temporary& temp, const std::wstring& target, const Existing& old)
{
    if (const FileStatus free = waitUntilReplaceable(target); !free)
        return free;
    if (::ReplaceFileW(target.c_str(), temp.path().c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                       nullptr)) {
        temp.keep();
        keepAttributes(target, old);
        return {};
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_INVALID_FUNCTION && error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_PARAMETER)
        return file_detail::statusOfWindowsError(error);
    // A file system without ReplaceFileW (some network shares): a plain
    // replacing rename.
    if (!::MoveFileExW(temp.path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return lastError();
    temp.keep();
    keepAttributes(target, old);
    return {};
}

// A hard-linked file rewritten in place (SaveSteps.h), with the file index
// as the file's identity.
FileStatus rewriteInPlace(Temporary& copy, const std::wstring& target, const Existing& old, std::string_view bytes)
{
    Handle out;
    const file_detail::InPlaceRewrite steps{
        [&] {
            const std::string name = linkedCopyName(old.index);
            if (!copy.rename(file_detail::folderOf(target) + L"\\" + std::wstring(name.begin(), name.end())))
                return lastError();
            return FileStatus();
        },
        [&] {
            out.reset(::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
            BY_HANDLE_FILE_INFORMATION now{};
            if (!out.valid() || !::GetFileInformationByHandle(out.get(), &now))
                return lastError();
            if (((std::uint64_t{now.nFileIndexHigh} << 32) | now.nFileIndexLow) != old.index)
                return FileStatus::notRegularFile();
            return FileStatus();
        },
        [&](std::size_t size) {
            LARGE_INTEGER end{};
            end.QuadPart = static_cast<LONGLONG>(size);
            LARGE_INTEGER start{};
            if (!::SetFilePointerEx(out.get(), end, nullptr, FILE_BEGIN) || !::SetEndOfFile(out.get()) ||
                !::SetFilePointerEx(out.get(), start, nullptr, FILE_BEGIN))
                return lastError();
            return FileStatus();
        },
        [&](std::string_view content) {
            if (!writeAll(out.get(), content) || !::FlushFileBuffers(out.get()))
                return lastError();
            return FileStatus();
        },
        [&] { copy.keep(); }};
    return file_detail::rewriteInPlace(steps, bytes);
}

// The target's system path, with the checks both saves share.
FileStatus targetPath(const std::string& path, SystemPath& target)
{
    const auto converted = file_detail::systemPath(path);
    if (!converted)
        return FileStatus::fromErrno(ENOENT);
    target = *converted;
    if (target.device)
        return FileStatus::notRegularFile();
    if (file_detail::nameOf(target.path).empty())
        return FileStatus::fromErrno(EISDIR);
    return {};
}

}  // namespace

FileStatus createFileAtomically(const std::string& path, std::string_view bytes)
{
    SystemPath target;
    if (const FileStatus checked = targetPath(path, target); !checked)
        return checked;
    if (::GetFileAttributesW(target.path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return FileStatus::fromErrno(EEXIST);
    const std::wstring folder = file_detail::folderOf(target.path);
    removeAbandonedTemporaries(folder);
    Temporary temp(folder);
    if (const FileStatus filled = temp.fill(bytes); !filled)
        return filled;
    // Without MOVEFILE_REPLACE_EXISTING the rename fails on a taken name:
    // the check and the creation are one step.
    if (!::MoveFileExW(temp.path().c_str(), target.path.c_str(), MOVEFILE_WRITE_THROUGH))
        return lastError();
    temp.keep();
    return {};
}

FileStatus writeFileAtomically(const std::string& path, std::string_view bytes)
{
    SystemPath target;
    if (const FileStatus checked = targetPath(path, target); !checked)
        return checked;
    std::optional<Existing> existing;
    if (const FileStatus examined = examineTarget(target.path, existing); !examined)
        return examined;
    const std::wstring folder = file_detail::folderOf(target.path);
    if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return lastError();

    removeAbandonedTemporaries(folder);
    Temporary temp(folder);
    if (const FileStatus filled = temp.fill(bytes); !filled)
        return filled;
    if (existing && existing->links > 1) {
        const FileStatus rewritten = rewriteInPlace(temp, target.path, *existing, bytes);
        return rewritten;
    }
    if (existing)
        return replaceTarget(temp, target.path, *existing);
    if (!::MoveFileExW(temp.path().c_str(), target.path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return lastError();
    temp.keep();
    return {};
}

}  // namespace tavo
