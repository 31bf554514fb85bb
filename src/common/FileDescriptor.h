#pragma once
// Internal to src/common's file code: an owned POSIX file descriptor.

#include <unistd.h>

#include <cerrno>

#include "common/AtomicFile.h"

namespace tavo::file_detail {

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

inline FileStatus lastError()
{
    return FileStatus::fromErrno(errno);
}

}  // namespace tavo::file_detail
