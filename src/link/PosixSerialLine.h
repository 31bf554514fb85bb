#pragma once
// The real serial port on Linux (and other POSIX systems): a terminal device
// in raw 8N1 mode at an exact line rate, polled with a bound.
//
// Why not QtSerialPort: the link thread, tavo-cli, the simulated ECM and the
// benchmarks all need the same port without Qt; a request/reply link of one
// byte each way wants the fewest steps between the reply and the reader (one
// poll and one read, no notifier or internal buffer in between); and asking
// the driver for low latency, which USB adapters need, takes the raw file
// descriptor anyway.

#include <optional>

#include "link/SerialLine.h"

namespace tavo {

class PosixSerialLine : public SerialLine {
public:
    PosixSerialLine() = default;
    ~PosixSerialLine() override;
    PosixSerialLine(const PosixSerialLine&) = delete;
    PosixSerialLine& operator=(const PosixSerialLine&) = delete;

    PortStatus open(const std::string& device) override;
    LineResult configure(int baud) override;
    std::optional<int> lineRate() override;
    LineResult purge() override;
    LineResult writeByte(std::uint8_t byte) override;
    LineResult waitForInput(std::chrono::microseconds bound) override;
    std::optional<std::size_t> readQueued(std::span<std::uint8_t> buffer) override;
    void close() override;

    // Whether the driver agreed to hand each received byte over at once
    // (USB adapters otherwise hold it for up to 16 ms); false for devices
    // that have no such setting, which is no error.
    bool lowLatency() const { return lowLatency_; }

private:
    int fd_ = -1;
    bool lowLatency_ = false;
};

// Shared with the simulated ECM, which sits on the other side of a pty:
// the exact line rate a terminal is set to, and raw mode without touching it.
std::optional<int> terminalLineRate(int fd);
bool makeTerminalRaw(int fd);

}  // namespace tavo
