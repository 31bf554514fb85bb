#include "common/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace tavo {

FileStatus FileStatus::fromErrno(int error)
{
    if (error == ENOENT)
        return FileStatus(Problem::Missing, error);
    return FileStatus(Problem::System, error == 0 ? EIO : error);
}

FileStatus FileStatus::tooLarge(std::uintmax_t limit)
{
    FileStatus status(Problem::TooLarge, EFBIG);
    status.limit_ = limit;
    return status;
}

std::string FileStatus::reason() const
{
    switch (problem_) {
    case Problem::None: return {};
    case Problem::Missing: return "No such file or folder.";
    case Problem::NotRegularFile: return "It is not a regular file (a pipe, device or socket).";
    case Problem::ReadOnly: return "The file is read-only.";
    case Problem::InUse: return "The file is open in another program.";
    case Problem::TooLarge: {
        constexpr std::uintmax_t mebibyte = 1024 * 1024;
        if (limit_ >= mebibyte && limit_ % mebibyte == 0)
            return "The file is larger than " + std::to_string(limit_ / mebibyte) + " MiB.";
        return "The file is larger than " + std::to_string(limit_) + " bytes.";
    }
    case Problem::System: break;
    }
    switch (error_) {
    case EACCES:
    case EPERM: return "Permission denied.";
    case ENOSPC: return "No space left on the device.";
#ifdef EDQUOT  // not in every C library (MinGW has none)
    case EDQUOT: return "No space left: the disk quota is used up.";
#endif
    case ENAMETOOLONG: return "The name is too long.";
    case EISDIR: return "It is a directory.";
    case EROFS: return "The file system is read-only.";
    case ENOTDIR: return "A part of the path is not a folder.";
    case ELOOP: return "Too many levels of symbolic links.";
    case EFBIG: return "The file is too large for the file system.";
    case EIO: return "Input/output error.";
    case EMFILE:
    case ENFILE: return "Too many open files.";
    default: break;
    }
    return std::string(std::strerror(error_)) + ".";
}

bool nameTaken(const FileStatus& status)
{
    return status.problem() == FileStatus::Problem::System && status.error() == EEXIST;
}

}  // namespace tavo
