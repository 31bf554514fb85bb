#include "common/AtomicFile.h"
#include "common/RegularFileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/FileDescriptor.h"

namespace tavo {

namespace {

using file_detail::Descriptor;
using file_detail::lastError;

// A pipe or device is never opened; the check is repeated on the opened file
// in case the name changed in between (O_NONBLOCK: even then nothing blocks).
FileStatus openRegularFile(const std::string& path, Descriptor& fd, struct stat& st)
{
    if (path.empty())
        return FileStatus::fromErrno(ENOENT);
    if (::stat(path.c_str(), &st) != 0)
        return lastError();
    if (S_ISDIR(st.st_mode))
        return FileStatus::fromErrno(EISDIR);
    if (!S_ISREG(st.st_mode))
        return FileStatus::notRegularFile();
    fd.reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid())
        return lastError();
    if (::fstat(fd.get(), &st) != 0)
        return lastError();
    if (!S_ISREG(st.st_mode))
        return FileStatus::notRegularFile();
    return {};
}

ssize_t readSome(int fd, void* buffer, std::size_t length)
{
    ssize_t n = 0;
    do
        n = ::read(fd, buffer, length);
    while (n < 0 && errno == EINTR);
    return n;
}

}  // namespace

FileContent readRegularFile(const std::string& path, std::size_t maxBytes, bool whole)
{
    FileContent content;
    Descriptor fd;
    struct stat st {};
    content.status = openRegularFile(path, fd, st);
    if (!content.status)
        return content;
    const OpenedFile opened{[&fd](void* buffer, std::size_t length) -> long long {
                                return readSome(fd.get(), buffer, length);
                            },
                            [] { return lastError(); }};
    return readOpenedFile(opened, static_cast<std::uintmax_t>(st.st_size), maxBytes, whole);
}

bool fileMissing(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) != 0 && errno == ENOENT;
}

bool removeFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

}  // namespace tavo
