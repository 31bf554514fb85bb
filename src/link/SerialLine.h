#pragma once
// The byte line under the ECM link: a serial device opened for exclusive use,
// set to a line rate, one byte written at a time, a bounded wait for input and
// a read of whatever is queued. The real port and the tests' scripted line
// implement it; the link logic sees nothing else of the platform.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tavo {

enum class LineResult {
    Ok,
    TimedOut,  // nothing happened within the bound (no input; a write that could not go out)
    Refused,   // the device refused a setting; the line itself still works
    Failed,    // the device is gone (unplugged, closed under us): the line is unusable
};

// Why a device could not be opened, as the system said it.
enum class PortProblem {
    None,
    NoSuchDevice,      // nothing by that name, or an adapter that was unplugged
    PermissionDenied,  // the user may not open it (not in the dialout group)
    Busy,              // another program holds it
    NotSerial,         // it exists but is no serial port (a file, a disk, a pipe)
    Other,             // anything else: the system's own words in `systemText`
};

struct PortStatus {
    PortProblem problem = PortProblem::None;
    std::string systemText;  // the system's words for the error (strerror), for Other

    explicit operator bool() const { return problem == PortProblem::None; }
    static PortStatus failed(PortProblem problem, std::string systemText = {})
    {
        return PortStatus{problem, std::move(systemText)};
    }
};

class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Opens the device for reading and writing, for this program alone, and
    // says why not when it cannot.
    virtual PortStatus open(const std::string& device) = 0;
    // Raw 8N1 at `baud`, no character processing, no flow control of either
    // kind (RTS/CTS or XON/XOFF, whatever the port held before), DTR and RTS
    // raised. Refused when the device did not take the settings.
    virtual LineResult configure(int baud) = 0;
    // The line rate the device reports now (nothing when it cannot say).
    virtual std::optional<int> lineRate() = 0;
    // Discards both queues.
    virtual LineResult purge() = 0;
    virtual LineResult writeByte(std::uint8_t byte) = 0;
    // Waits at most `bound` for at least one received byte to be queued.
    virtual LineResult waitForInput(std::chrono::microseconds bound) = 0;
    // Reads what is queued without waiting, at most buffer.size() bytes;
    // nothing when the line failed.
    virtual std::optional<std::size_t> readQueued(std::span<std::uint8_t> buffer) = 0;
    virtual void close() = 0;
};

// The clock and the sleeps of the link, injected so that tests run the
// connection procedure in virtual time.
class LinkClock {
public:
    virtual ~LinkClock() = default;
    // Time since an arbitrary start.
    virtual std::chrono::microseconds now() = 0;
    virtual void sleepFor(std::chrono::microseconds duration) = 0;
};

// The wall clock.
class SystemClock : public LinkClock {
public:
    std::chrono::microseconds now() override;
    void sleepFor(std::chrono::microseconds duration) override;
};

}  // namespace tavo
