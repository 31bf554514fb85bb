#include "common/AtomicFile.h"
#include "common/RegularFileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
    const auto measured = static_cast<std::uintmax_t>(st.st_size);
    if (whole && measured > maxBytes) {
        content.status = FileStatus::tooLarge(maxBytes);
        content.size = measured;
        return content;
    }
    std::vector<std::uint8_t>& bytes = content.bytes;
    bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(measured, maxBytes)));
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got == maxBytes)
                break;
            // The file grew since it was measured.
            bytes.resize(std::min<std::size_t>(maxBytes, got + 65536));
        }
        const ssize_t n = readSome(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            content.status = lastError();
            bytes.clear();
            return content;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    content.size = got;
    if (got == maxBytes) {
        // Whether more follows the limit.
        std::uint8_t extra = 0;
        const ssize_t n = readSome(fd.get(), &extra, 1);
        if (n < 0) {
            content.status = lastError();
            bytes.clear();
            return content;
        }
        if (n > 0)
            content.size = std::max<std::uintmax_t>(measured, got + std::uintmax_t{1});
    }
    if (whole && content.size > got) {
        content.status = FileStatus::tooLarge(maxBytes);
        bytes.clear();
    }
    return content;
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
