#include "SimulatedEcm.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <sched.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/PosixSerialLine.h"

namespace tavo::sim {

namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

// The last stretch before a timed reply is waited out actively: a sleeping
// thread wakes tens of microseconds late. Kept short, since a longer spin
// holds up the kernel worker that carries the pty's bytes.
constexpr auto kSpinMargin = std::chrono::microseconds(60);
// How often an idle simulator looks for a client that died holding the port.
constexpr int kIdleCheckMs = 200;

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

bool makeLink(const std::string& link, const std::string& target, std::string& error)
{
    struct stat existing {};
    if (::lstat(link.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = link + " exists and is not a symbolic link; not replacing it";
        return false;
    }
    // A fresh link beside the old one, renamed over it.
    const std::string temporary = link + ".tavo-ecm-sim-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), link.c_str()) != 0) {
        error = "cannot make the link " + link + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

// Bytes due on the line at a moment, written together.
struct SimulatedEcm::Pending {
    Clock::time_point due;
    std::array<std::uint8_t, 3> bytes{};
    int count = 0;
};

SimulatedEcm::~SimulatedEcm()
{
    stop();
}

bool SimulatedEcm::start(const SimOptions& options, std::string& error)
{
    stop();
    options_ = options;
    responder_ = std::make_unique<EcmResponder>(options_);
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        stop();
        return false;
    }
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        error = "cannot name the pseudo-terminal";
        stop();
        return false;
    }
    devicePath_ = name;
    // Holding the device side open keeps the pty alive between a client's
    // close and reopen; raw from the start, so nothing is echoed back.
    deviceSide_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    int wake[2];
    if (deviceSide_ < 0 || !makeTerminalRaw(deviceSide_) || ::pipe2(wake, O_CLOEXEC) != 0) {
        error = std::string("cannot open the pseudo-terminal's device: ") + std::strerror(errno);
        stop();
        return false;
    }
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (!options_.recordPath.empty() && !openRecord(error)) {
        stop();
        return false;
    }
    if (!options_.linkPath.empty()) {
        if (!makeLink(options_.linkPath, devicePath_, error)) {
            stop();
            return false;
        }
        linkMade_ = true;
    }
    started_ = Clock::now();
    thread_ = std::thread([this] { run(); });
    return true;
}

void SimulatedEcm::stop()
{
    if (thread_.joinable()) {
        const char stopByte = 0;
        [[maybe_unused]] const auto written = ::write(wakeWrite_, &stopByte, 1);
        thread_.join();
    }
    if (linkMade_) {
        // Only our own link goes; another simulator may have taken the name.
        char target[256] = {};
        const ssize_t length = ::readlink(options_.linkPath.c_str(), target, sizeof target - 1);
        if (length > 0 && devicePath_ == std::string(target, static_cast<std::size_t>(length)))
            ::unlink(options_.linkPath.c_str());
        linkMade_ = false;
    }
    if (record_)
        std::fclose(record_);
    record_ = nullptr;
    closeFd(deviceSide_);
    closeFd(master_);
    closeFd(wakeRead_);
    closeFd(wakeWrite_);
}

bool SimulatedEcm::openRecord(std::string& error)
{
    // Never a pipe or a device: opening a FIFO for writing waits for a reader.
    struct stat existing {};
    if (::stat(options_.recordPath.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        error = "cannot record into " + options_.recordPath + ": it is not a regular file (a folder, pipe or device)";
        return false;
    }
    const int fd = ::open(options_.recordPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "cannot record into " + options_.recordPath + ": " +
                (fd < 0 ? std::strerror(errno) : "it is not a regular file (a folder, pipe or device)");
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    record_ = ::fdopen(fd, "a");
    if (!record_) {
        error = "cannot record into " + options_.recordPath + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    return true;
}

void SimulatedEcm::releaseDeadClientsPort()
{
    // A client holds the port's lock for as long as it keeps the port
    // exclusive. Exclusive but unlocked: the client died without closing it
    // (the kernel dropped its lock, not the exclusive mode, which outlives it
    // on a pty whose other side stays open), and no later client could open it.
#if defined(TIOCGEXCL)
    int exclusive = 0;
    if (::ioctl(deviceSide_, TIOCGEXCL, &exclusive) != 0 || !exclusive)
        return;
    if (::flock(deviceSide_, LOCK_EX | LOCK_NB) != 0)
        return;
    ::ioctl(deviceSide_, TIOCNXCL);
    ::flock(deviceSide_, LOCK_UN);
#endif
}

Clock::time_point SimulatedEcm::heldByAdapter(Clock::time_point due) const
{
    // An FTDI adapter sends a short packet up the USB only when its latency
    // timer runs out: at the next tick of that timer.
    if (options_.usbLatencyMs <= 0)
        return due;
    const auto tick = std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(options_.usbLatencyMs));
    const auto since = due - started_;
    return started_ + ((since + tick - Clock::duration(1)) / tick) * tick;
}

void SimulatedEcm::schedule(std::deque<Pending>& pending, Pending item) const
{
    item.due = heldByAdapter(item.due);
    const auto at = std::upper_bound(pending.begin(), pending.end(), item.due,
                                     [](Clock::time_point due, const Pending& p) { return due < p.due; });
    pending.insert(at, item);
}

SimStatistics SimulatedEcm::statistics() const
{
    std::lock_guard lock(statisticsMutex_);
    return statistics_;
}

void SimulatedEcm::run()
{
    if (options_.lineTimed) {
        // Timed replies are answered from one processor: a request, the
        // kernel worker that carries the reply and the client it wakes then
        // meet on that processor, instead of waking an idle one (on a virtual
        // machine some 10 to 15 us each time).
        const int cpu = ::sched_getcpu();
        cpu_set_t set;
        CPU_ZERO(&set);
        if (cpu >= 0) {
            CPU_SET(cpu, &set);
            ::sched_setaffinity(0, sizeof set, &set);
        }
    }
#if defined(PR_SET_TIMERSLACK)
    ::prctl(PR_SET_TIMERSLACK, 1UL);
#endif
    std::deque<Pending> pending;
    // The two directions of the simulated line, busy until these moments.
    Clock::time_point requestLineFree = Clock::now();
    Clock::time_point replyLineFree = requestLineFree;
    std::uint8_t input[256];

    for (;;) {
        auto now = Clock::now();
        while (!pending.empty() && pending.front().due <= now) {
            const Pending& due = pending.front();
            [[maybe_unused]] const auto written = ::write(master_, due.bytes.data(), static_cast<std::size_t>(due.count));
            pending.pop_front();
        }
        timespec timeout{0, kIdleCheckMs * 1000000L};
        if (!pending.empty()) {
            const auto left = pending.front().due - Clock::now() - kSpinMargin;
            const auto nanoseconds = std::max<long long>(
                0, std::chrono::duration_cast<std::chrono::nanoseconds>(left).count());
            timeout = {static_cast<time_t>(nanoseconds / 1000000000), static_cast<long>(nanoseconds % 1000000000)};
        }
        pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {master_, POLLIN, 0}};
        const int ready = ::ppoll(fds, 2, &timeout, nullptr);
        if (ready < 0 && errno != EINTR)
            return;
        if (ready == 0 && pending.empty())
            releaseDeadClientsPort();
        // A request is on the line from the moment it is seen, before the
        // reading and bookkeeping.
        now = Clock::now();
        if (fds[0].revents)
            return;
        if (!(fds[1].revents & POLLIN))
            continue;
        const ssize_t count = ::read(master_, input, sizeof input);
        if (count <= 0)
            continue;
        // The device side's settings are the client's: its rate is the line's.
        const int baud = terminalLineRate(deviceSide_).value_or(0);
        const double seconds = std::chrono::duration<double>(now - started_).count();
        // Ten bit times per byte (start, eight data, stop).
        const auto byteTime = std::chrono::duration_cast<Clock::duration>(Micros(1e7 / std::max(baud, 50)));
        for (ssize_t i = 0; i < count; ++i) {
            const std::uint8_t request = input[i];
            if (record_) {
                std::fprintf(record_, "%.6f %d %02x\n", seconds, baud, request);
                std::fflush(record_);
            }
            const SimReply reply = responder_->hear(request, baud, seconds);
            {
                std::lock_guard lock(statisticsMutex_);
                statistics_ = responder_->statistics();
            }
            if (reply.count == 0)
                continue;
            const auto late = std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(reply.lateMs));
            Clock::time_point replyEnd = now + late;
            if (!options_.lineTimed) {
                Pending item{now + late, reply.bytes, reply.count};
                if (reply.lateMs == 0 && pending.empty() && options_.usbLatencyMs == 0)
                    [[maybe_unused]] const auto written =
                        ::write(master_, reply.bytes.data(), static_cast<std::size_t>(reply.count));
                else
                    schedule(pending, item);
            } else {
                // Each way a byte takes its time on the line, the ECM's
                // turnaround between them.
                requestLineFree = std::max(now, requestLineFree) + byteTime;
                auto sendAt = std::max(requestLineFree + std::chrono::microseconds(options_.turnaroundUs) + late,
                                       replyLineFree);
                for (int k = 0; k < reply.count; ++k) {
                    sendAt += byteTime;
                    schedule(pending, {sendAt, {reply.bytes[static_cast<std::size_t>(k)]}, 1});
                }
                replyLineFree = sendAt;
                replyEnd = sendAt;
            }
            if (reply.followUpCount > 0) {
                const Pending after{replyEnd + 2 * byteTime, {reply.followUp}, 1};
                schedule(pending, after);
                if (options_.lineTimed)
                    replyLineFree = std::max(replyLineFree, after.due);
            }
        }
    }
}

std::string statisticsLine(const SimStatistics& statistics)
{
    return "tavo-ecm-sim: " + std::to_string(statistics.heard) + " requests heard, " +
           std::to_string(statistics.replied) + " replies sent, " + std::to_string(statistics.ignored) +
           " requests ignored";
}

}  // namespace tavo::sim
