#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "common/AtomicFile.h"

namespace tavo {

FileStatus checkWritable(const std::string& path)
{
    std::error_code error;
    std::filesystem::path target(path);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return S_ISDIR(info.st_mode) ? FileStatus::fromErrno(EISDIR) : FileStatus::notRegularFile();
        if (::access(path.c_str(), W_OK) != 0)
            return errno == EACCES ? FileStatus::readOnly() : FileStatus::fromErrno(errno);
        // A link is followed: the new file goes beside the file it names.
        const auto resolved = std::filesystem::canonical(target, error);
        if (!error)
            target = resolved;
    } else if (errno != ENOENT) {
        return FileStatus::fromErrno(errno);
    }
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::random_device random;
    const std::string probe =
        (folder / (".tavo-check-" + std::to_string(::getpid()) + "-" + std::to_string(random()))).string();
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return FileStatus::fromErrno(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

}  // namespace tavo
