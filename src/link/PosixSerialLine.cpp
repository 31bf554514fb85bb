#include "link/PosixSerialLine.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <cstring>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__linux__)
// termios2 sets any rate exactly (976, 7812, 62500 ...); it cannot share a
// file with <termios.h>, whose struct termios it redefines.
#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#else
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace tavo {

namespace {

constexpr int kWriteBoundMs = 50;

LineResult resultFor(int error)
{
    switch (error) {
    case EAGAIN:
        return LineResult::TimedOut;
    case EIO:
    case ENXIO:
    case ENODEV:
    case EBADF:
    case EPIPE:
    case ENOENT:
        return LineResult::Failed;
    default:
        return LineResult::Refused;
    }
}

bool hungUp(short events)
{
    return (events & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

#if defined(__linux__)
using Terminal = struct termios2;

bool getTerminal(int fd, Terminal& t)
{
    return ::ioctl(fd, TCGETS2, &t) == 0;
}

bool setTerminal(int fd, const Terminal& t)
{
    return ::ioctl(fd, TCSETS2, &t) == 0;
}

void setRate(Terminal& t, int baud)
{
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | CIBAUD);
    t.c_cflag |= BOTHER;
    t.c_ispeed = static_cast<speed_t>(baud);
    t.c_ospeed = static_cast<speed_t>(baud);
}

int rateOf(const Terminal& t)
{
    return static_cast<int>(t.c_ospeed);
}

void requestLowLatency(int fd, bool& granted)
{
    struct serial_struct serial {};
    granted = false;
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0)
        return;
    serial.flags |= ASYNC_LOW_LATENCY;
    granted = ::ioctl(fd, TIOCSSERIAL, &serial) == 0;
}
#else
using Terminal = struct termios;

bool getTerminal(int fd, Terminal& t)
{
    return ::tcgetattr(fd, &t) == 0;
}

bool setTerminal(int fd, const Terminal& t)
{
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

void setRate(Terminal& t, int baud)
{
    // The BSDs and macOS take the rate as a plain number.
    ::cfsetspeed(&t, static_cast<speed_t>(baud));
}

int rateOf(const Terminal& t)
{
    return static_cast<int>(::cfgetospeed(&t));
}

void requestLowLatency(int, bool& granted)
{
    granted = false;
}
#endif

// Binary mode: no character processing in either direction, 8N1, modem
// lines ignored. Flow control of both kinds goes, whatever another program
// left on the port: with XON/XOFF, replies 0x11 and 0x13 (RAM bytes like any
// other) would be swallowed by the driver; with RTS/CTS, an interface that
// does not drive CTS would never let a request out.
void makeRaw(Terminal& t)
{
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                         IXOFF | IXANY);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    // Reads return at once with what is queued; waits are poll's, bounded.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

PortStatus openFailure(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return PortStatus::failed(PortProblem::NoSuchDevice);
    case EACCES:
    case EPERM:
        return PortStatus::failed(PortProblem::PermissionDenied);
    case EBUSY:
    case EWOULDBLOCK:
        return PortStatus::failed(PortProblem::Busy);
    case ENOTTY:
    case EISDIR:
        return PortStatus::failed(PortProblem::NotSerial);
    default:
        return PortStatus::failed(PortProblem::Other, std::strerror(error));
    }
}

}  // namespace

std::optional<int> terminalLineRate(int fd)
{
    Terminal t{};
    if (!getTerminal(fd, t))
        return std::nullopt;
    return rateOf(t);
}

bool makeTerminalRaw(int fd)
{
    Terminal t{};
    if (!getTerminal(fd, t))
        return false;
    makeRaw(t);
    return setTerminal(fd, t);
}

PosixSerialLine::~PosixSerialLine()
{
    close();
}

PortStatus PosixSerialLine::open(const std::string& device)
{
    close();
    // Only a character device can be a serial port; anything else is never
    // opened (opening a pipe or a disk for writing is no harmless test).
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0)
        return openFailure(errno);
    if (!S_ISCHR(info.st_mode))
        return PortStatus::failed(PortProblem::NotSerial);
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return openFailure(errno);
    Terminal t{};
    if (!getTerminal(fd, t)) {
        const int error = errno;
        ::close(fd);
        return openFailure(error == EINVAL ? ENOTTY : error);
    }
    // Another TaVO (or tavo-cli) holds the port.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return openFailure(error);
    }
    ::ioctl(fd, TIOCEXCL);
    requestLowLatency(fd, lowLatency_);
    fd_ = fd;
    return {};
}

void PosixSerialLine::close()
{
    if (fd_ < 0)
        return;
    // Exclusive use ends with the last close of the device; a pty whose
    // other side stays open would otherwise refuse our own reopening.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    lowLatency_ = false;
}

LineResult PosixSerialLine::configure(int baud)
{
    if (fd_ < 0)
        return LineResult::Failed;
    Terminal t{};
    if (!getTerminal(fd_, t))
        return resultFor(errno);
    makeRaw(t);
    setRate(t, baud);
    if (!setTerminal(fd_, t))
        return resultFor(errno);
    // DTR and RTS up: interfaces powered from the port's modem lines need
    // them, and none needs them down. A pseudo-terminal has no modem lines.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIS, &lines);
    return LineResult::Ok;
}

std::optional<int> PosixSerialLine::lineRate()
{
    if (fd_ < 0)
        return std::nullopt;
    return terminalLineRate(fd_);
}

LineResult PosixSerialLine::purge()
{
    if (fd_ < 0)
        return LineResult::Failed;
#if defined(__linux__)
    const bool flushed = ::ioctl(fd_, TCFLSH, TCIOFLUSH) == 0;
#else
    const bool flushed = ::tcflush(fd_, TCIOFLUSH) == 0;
#endif
    return flushed ? LineResult::Ok : resultFor(errno);
}

LineResult PosixSerialLine::writeByte(std::uint8_t byte)
{
    if (fd_ < 0)
        return LineResult::Failed;
    for (;;) {
        const ssize_t written = ::write(fd_, &byte, 1);
        if (written == 1)
            return LineResult::Ok;
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            return resultFor(errno);
        // The output queue is full (flow control holding it): wait a little.
        pollfd pending{fd_, POLLOUT, 0};
        const int ready = ::poll(&pending, 1, kWriteBoundMs);
        if (ready == 0)
            return LineResult::TimedOut;
        if (ready < 0 && errno != EINTR)
            return resultFor(errno);
        if (ready > 0 && hungUp(pending.revents))
            return LineResult::Failed;
    }
}

LineResult PosixSerialLine::waitForInput(std::chrono::microseconds bound)
{
    if (fd_ < 0)
        return LineResult::Failed;
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
            deadline - std::chrono::steady_clock::now());
        const long long nanoseconds = left.count() > 0 ? left.count() : 0;
        const timespec timeout{static_cast<time_t>(nanoseconds / 1000000000),
                               static_cast<long>(nanoseconds % 1000000000)};
        pollfd input{fd_, POLLIN, 0};
        const int ready = ::ppoll(&input, 1, &timeout, nullptr);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return resultFor(errno);
        if (ready == 0)
            return LineResult::TimedOut;
        if (input.revents & POLLIN)
            return LineResult::Ok;
        if (hungUp(input.revents))
            return LineResult::Failed;
    }
}

std::optional<std::size_t> PosixSerialLine::readQueued(std::span<std::uint8_t> buffer)
{
    if (fd_ < 0)
        return std::nullopt;
    if (buffer.empty())
        return 0;
    for (;;) {
        // One read hands over everything queued, up to the buffer's size.
        const ssize_t count = ::read(fd_, buffer.data(), buffer.size());
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            return 0;
        return std::nullopt;
    }
}

}  // namespace tavo
