#pragma once
// An in-process serial line and a virtual clock for the link's logic tests:
// the "ECM" is a function from each byte written (and the rate it went out
// at) to the bytes it answers, at once or each at its own moment; waiting
// advances the virtual clock to the next byte's arrival, or by the whole
// bound when none comes, instead of sleeping. A byte is read only once it
// has arrived, as on a real line.

#include <algorithm>
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
    // A byte the ECM sends, `after` the request it answers went out.
    struct Timed {
        std::uint8_t byte;
        std::chrono::microseconds after{0};
    };

    explicit ScriptedLine(VirtualClock& clock) : clock_(clock) {}

    // The ECM: the bytes it sends at once for each byte written (and the
    // rate it went out at), or, with `timedEcm`, each at its own moment.
    std::function<std::vector<std::uint8_t>(std::uint8_t byte, int baud)> ecm;
    std::function<std::vector<Timed>(std::uint8_t byte, int baud)> timedEcm;
    std::function<void(const Written&)> onWrite;  // runs after each byte went out
    bool openFails = false;
    PortProblem openProblem = PortProblem::NoSuchDevice;  // why it fails
    bool gone = false;                   // the device has disappeared
    std::optional<int> reportedRate;     // what the device says it set (else the rate asked)

    std::vector<Written> written;
    std::vector<std::string> opened;
    int closes = 0;
    int baud = 0;
    bool isOpen = false;

    PortStatus open(const std::string& device) override
    {
        opened.push_back(device);
        isOpen = !openFails && !gone;
        if (!isOpen)
            return PortStatus::failed(gone ? PortProblem::NoSuchDevice : openProblem);
        return {};
    }
    LineResult configure(int rate) override
    {
        baud = rate;
        return gone ? LineResult::Failed : LineResult::Ok;
    }
    std::optional<int> lineRate() override { return reportedRate ? reportedRate : std::optional<int>(baud); }
    LineResult purge() override
    {
        std::erase_if(arrivals_, [&](const Arrival& a) { return a.at <= clock_.time; });
        return gone ? LineResult::Failed : LineResult::Ok;
    }
    LineResult writeByte(std::uint8_t byte) override
    {
        if (gone)
            return LineResult::Failed;
        written.push_back({byte, baud});
        if (ecm)
            for (const std::uint8_t reply : ecm(byte, baud))
                arrive(reply, clock_.time);
        if (timedEcm)
            for (const Timed& reply : timedEcm(byte, baud))
                arrive(reply.byte, clock_.time + reply.after);
        if (onWrite)
            onWrite(written.back());
        return LineResult::Ok;
    }
    LineResult waitForInput(std::chrono::microseconds bound) override
    {
        if (gone)
            return LineResult::Failed;
        if (!arrivals_.empty() && arrivals_.front().at <= clock_.time + bound) {
            clock_.time = std::max(clock_.time, arrivals_.front().at);
            return LineResult::Ok;
        }
        clock_.time += bound;
        return LineResult::TimedOut;
    }
    std::optional<std::size_t> readQueued(std::span<std::uint8_t> buffer) override
    {
        if (gone)
            return std::nullopt;
        std::size_t count = 0;
        while (count < buffer.size() && !arrivals_.empty() && arrivals_.front().at <= clock_.time) {
            buffer[count++] = arrivals_.front().byte;
            arrivals_.pop_front();
        }
        return count;
    }
    void close() override
    {
        ++closes;
        isOpen = false;
        arrivals_.clear();
    }

    // A byte arriving at a moment of the virtual clock.
    void arrive(std::uint8_t byte, std::chrono::microseconds at)
    {
        const auto place = std::upper_bound(arrivals_.begin(), arrivals_.end(), at,
                                            [](std::chrono::microseconds t, const Arrival& a) { return t < a.at; });
        arrivals_.insert(place, Arrival{at, byte});
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
    struct Arrival {
        std::chrono::microseconds at;
        std::uint8_t byte;
    };
    VirtualClock& clock_;
    std::deque<Arrival> arrivals_;
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
