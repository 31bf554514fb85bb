// Whether a save could go through, asked before work whose result would be
// lost otherwise. Plain std::filesystem, so every platform shares it.
#include <cerrno>
#include <fstream>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "common/AtomicFile.h"

namespace tavo {

namespace {

std::filesystem::path pathOf(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

FileStatus statusOf(const std::error_code& error)
{
    if (error == std::errc::no_such_file_or_directory)
        return FileStatus::fromErrno(ENOENT);
    return FileStatus::fromErrno(error.value() != 0 ? error.value() : EIO);
}

}  // namespace

FileStatus checkWritable(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path target = pathOf(path);
    const fs::file_status existing = fs::status(target, error);
    if (fs::exists(existing)) {
        if (fs::is_directory(existing))
            return FileStatus::fromErrno(EISDIR);
        if (!fs::is_regular_file(existing))
            return FileStatus::notRegularFile();
        constexpr auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if ((existing.permissions() & writable) == fs::perms::none)
            return FileStatus::readOnly();
        // A link is followed: the new file goes beside the file it names.
        const fs::path resolved = fs::canonical(target, error);
        if (!error)
            target = resolved;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error))
        return error ? statusOf(error) : FileStatus::fromErrno(ENOENT);
    std::random_device random;
    const fs::path probe = folder / (".tavo-check-" + std::to_string(random()) + std::to_string(random()));
    {
        std::ofstream file(probe, std::ios::binary);
        if (!file)
            return FileStatus::fromErrno(EACCES);
    }
    fs::remove(probe, error);
    return {};
}

}  // namespace tavo
