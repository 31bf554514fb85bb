#pragma once
// The real serial port on Windows: a COM port opened for this program alone,
// set with a DCB to an exact line rate, raw 8N1, its waits bounded by the
// port's read and write time-outs (no overlapped I/O).

#include <cstdint>
#include <optional>
#include <string>

#include "link/SerialLine.h"

namespace tavo {

class WindowsSerialLine : public SerialLine {
public:
    WindowsSerialLine() = default;
    ~WindowsSerialLine() override;
    WindowsSerialLine(const WindowsSerialLine&) = delete;
    WindowsSerialLine& operator=(const WindowsSerialLine&) = delete;

    // `device` is a COM port ("COM12", "com3:") or a name in the system's
    // device form (\\.\COM12); UTF-8.
    PortStatus open(const std::string& device) override;
    LineResult configure(int baud) override;
    std::optional<int> lineRate() override;
    LineResult purge() override;
    LineResult writeByte(std::uint8_t byte) override;
    LineResult waitForInput(std::chrono::microseconds bound) override;
    std::optional<std::size_t> readQueued(std::span<std::uint8_t> buffer) override;
    void close() override;

private:
    // Sets the port's time-outs so that a read waits at most `waitMs` for its
    // first byte (0: returns at once with what is queued).
    bool setReadWait(unsigned long waitMs);
    // Whether the port still answers the driver's status request; a port
    // that does not (adapter unplugged) is gone.
    bool stillThere();
    LineResult failureOf(unsigned long error, LineResult otherwise);

    void* handle_ = nullptr;  // the port's HANDLE; null when closed
    std::optional<unsigned long> readWaitMs_;  // what the port's time-outs hold now
    std::optional<std::uint8_t> readAhead_;    // a byte the wait for input took from the queue
    bool finerTimer_ = false;
};

// The name CreateFileW opens for `device`: a COM port given as "COMn" or
// "comn:" becomes \\.\COMn (the only form that reaches COM10 and above);
// any other name stays as it is.
std::string windowsPortName(const std::string& device);

}  // namespace tavo
