#pragma once
// An in-process serial line and a virtual clock for the link's fuzz target,
// as the link's tests script theirs: the "ECM" is a function from each byte
// written to the bytes it sends back, each at its own moment after the
// request; waiting advances the virtual clock to the next byte's arrival, or
// by the whole bound when none comes, instead of sleeping. A byte is read
// only once it has arrived, as on a real line. Every wait and pause is
// checked against the longest one the link may ask for.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "link/SerialLine.h"

namespace tavo::fuzz {

// No single wait or pause of the link is longer than the late-reply horizon
// at its longest.
inline constexpr std::chrono::microseconds kLongestWait{std::chrono::seconds(1)};

class VirtualClock : public LinkClock {
public:
    std::chrono::microseconds time{0};
    std::chrono::microseconds now() override { return time; }
    void sleepFor(std::chrono::microseconds duration) override
    {
        FUZZ_CHECK(duration.count() >= 0 && duration <= kLongestWait);
        time += duration;
    }
};

class ScriptedEcmLine : public SerialLine {
public:
    // A byte the ECM sends, `after` the request it answers went out.
    struct Timed {
        std::uint8_t byte;
        std::chrono::microseconds after{0};
    };
    // A byte written, when, and at what rate.
    struct Written {
        std::uint8_t byte;
        std::chrono::microseconds at;
        int baud;
    };

    explicit ScriptedEcmLine(VirtualClock& clock) : clock_(clock) {}

    std::function<std::vector<Timed>(std::uint8_t byte, int baud)> ecm;
    bool gone = false;  // the device has disappeared
    std::vector<Written> written;
    int baud = 0;

    PortStatus open(const std::string&) override
    {
        return gone ? PortStatus::failed(PortProblem::NoSuchDevice) : PortStatus{};
    }
    LineResult configure(int rate) override
    {
        baud = rate;
        return gone ? LineResult::Failed : LineResult::Ok;
    }
    std::optional<int> lineRate() override { return baud; }
    LineResult purge() override
    {
        std::erase_if(arrivals_, [&](const Arrival& a) { return a.at <= clock_.time; });
        return gone ? LineResult::Failed : LineResult::Ok;
    }
    LineResult writeByte(std::uint8_t byte) override
    {
        if (gone)
            return LineResult::Failed;
        written.push_back({byte, clock_.time, baud});
        if (ecm)
            for (const Timed& reply : ecm(byte, baud))
                arrive(reply.byte, clock_.time + reply.after);
        return LineResult::Ok;
    }
    LineResult waitForInput(std::chrono::microseconds bound) override
    {
        FUZZ_CHECK(bound.count() >= 0 && bound <= kLongestWait);
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
    void close() override { arrivals_.clear(); }

    // A byte is on its way that has not arrived yet.
    bool bytesOnTheirWay() const { return !arrivals_.empty() && arrivals_.back().at > clock_.time; }

private:
    struct Arrival {
        std::chrono::microseconds at;
        std::uint8_t byte;
    };
    void arrive(std::uint8_t byte, std::chrono::microseconds at)
    {
        const auto place = std::upper_bound(arrivals_.begin(), arrivals_.end(), at,
                                            [](std::chrono::microseconds t, const Arrival& a) { return t < a.at; });
        arrivals_.insert(place, Arrival{at, byte});
    }

    VirtualClock& clock_;
    std::deque<Arrival> arrivals_;
};

}  // namespace tavo::fuzz
