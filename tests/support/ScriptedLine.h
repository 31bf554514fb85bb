#pragma once
// An in-process serial line and a virtual clock for the link's logic tests:
// the "ECM" is a function from each byte written (and the rate it went out
// at) to the bytes it answers; waiting for input that never comes advances
// the virtual clock by the whole bound instead of sleeping.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/SerialLine.h"

namespace tavo::test {

using namespace std::chrono_literals;

class VirtualClock : public LinkClock {
public:
    std::chrono::microseconds time{0};
    std::chrono::microseconds now() override { return time; }
    void sleepFor(std::chrono::microseconds duration) override { time += duration; }
};

class ScriptedLine : public SerialLine {
public:
    struct Written {
        std::uint8_t byte;
        int baud;
    };

    explicit ScriptedLine(VirtualClock& clock) : clock_(clock) {}

    std::function<std::vector<std::uint8_t>(std::uint8_t byte, int baud)> ecm;
    std::function<void(const Written&)> onWrite;  // runs after each byte went out
    bool openFails = false;
    bool gone = false;  // the device has disappeared

    std::vector<Written> written;
    std::vector<std::string> opened;
    int closes = 0;
    int baud = 0;
    bool isOpen = false;

    bool open(const std::string& device) override
    {
        opened.push_back(device);
        isOpen = !openFails && !gone;
        return isOpen;
    }
    LineResult configure(int rate) override
    {
        baud = rate;
        return gone ? LineResult::Failed : LineResult::Ok;
    }
    LineResult purge() override
    {
        queue_.clear();
        return gone ? LineResult::Failed : LineResult::Ok;
    }
    LineResult writeByte(std::uint8_t byte) override
    {
        if (gone)
            return LineResult::Failed;
        written.push_back({byte, baud});
        if (ecm)
            for (const std::uint8_t reply : ecm(byte, baud))
                queue_.push_back(reply);
        if (onWrite)
            onWrite(written.back());
        return LineResult::Ok;
    }
    LineResult waitForInput(std::chrono::microseconds bound) override
    {
        if (gone)
            return LineResult::Failed;
        if (!queue_.empty())
            return LineResult::Ok;
        clock_.time += bound;
        return LineResult::TimedOut;
    }
    std::optional<std::size_t> readQueued(std::span<std::uint8_t> buffer) override
    {
        if (gone)
            return std::nullopt;
        std::size_t count = 0;
        while (count < buffer.size() && !queue_.empty()) {
            buffer[count++] = queue_.front();
            queue_.pop_front();
        }
        return count;
    }
    void close() override
    {
        ++closes;
        isOpen = false;
        queue_.clear();
    }

    // Bytes written at one rate.
    int count(std::uint8_t byte, int rate) const
    {
        int n = 0;
        for (const Written& w : written)
            n += w.byte == byte && w.baud == rate;
        return n;
    }
    std::vector<std::uint8_t> bytes() const
    {
        std::vector<std::uint8_t> all;
        for (const Written& w : written)
            all.push_back(w.byte);
        return all;
    }

private:
    VirtualClock& clock_;
    std::deque<std::uint8_t> queue_;
};

// An ECM that answers like the real one: 0x12 to 0x12, 0xFF to 0x00, else
// the page's byte.
inline std::function<std::vector<std::uint8_t>(std::uint8_t, int)> answeringEcm(
    std::function<std::uint8_t(std::uint8_t)> page = [](std::uint8_t address) { return address; })
{
    return [page](std::uint8_t byte, int) -> std::vector<std::uint8_t> {
        if (byte == 0x12)
            return {0x12};
        if (byte == 0x00)
            return {0xFF};
        return {page(byte)};
    };
}

}  // namespace tavo::test
