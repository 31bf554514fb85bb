// Soak of the acquisition tick: a million logging ticks (the ring wraps 244
// times) against an in-process ECM that answers at once, with all nine
// channels, 16-bit scaling and smoothing on. Every allocation during the
// ticks is counted (there must be none) and the resident memory before and
// after is compared.
//
// usage: tavo_logging_soak [TICKS]     (1000000 by default); exit 1 on growth

#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>

#include "link/EcmLink.h"
#include "logging/Acquisition.h"

namespace {

std::atomic<long long> allocations{0};

// An ECM on a line that never waits and never allocates: each address byte
// queues one reply (0x12 to 0x12, 0xFF to 0x00, else a byte that moves).
class InstantLine : public tavo::SerialLine {
public:
    tavo::PortStatus open(const std::string&) override { return {}; }
    tavo::LineResult configure(int) override { return tavo::LineResult::Ok; }
    std::optional<int> lineRate() override { return std::nullopt; }
    tavo::LineResult purge() override
    {
        queued_ = false;
        return tavo::LineResult::Ok;
    }
    tavo::LineResult writeByte(std::uint8_t byte) override
    {
        reply_ = byte == 0x12 ? 0x12 : byte == 0x00 ? 0xFF : static_cast<std::uint8_t>(byte + counter_++);
        queued_ = true;
        return tavo::LineResult::Ok;
    }
    tavo::LineResult waitForInput(std::chrono::microseconds) override
    {
        return queued_ ? tavo::LineResult::Ok : tavo::LineResult::TimedOut;
    }
    std::optional<std::size_t> readQueued(std::span<std::uint8_t> buffer) override
    {
        if (!queued_ || buffer.empty())
            return 0;
        buffer[0] = reply_;
        queued_ = false;
        return 1;
    }
    void close() override {}

private:
    std::uint8_t reply_ = 0;
    std::uint8_t counter_ = 0;
    bool queued_ = false;
};

class NoClock : public tavo::LinkClock {
public:
    std::chrono::microseconds now() override { return time_; }
    void sleepFor(std::chrono::microseconds d) override { time_ += d; }

private:
    std::chrono::microseconds time_{0};
};

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

int main(int argc, char** argv)
{
    const long long ticks = argc > 1 ? std::atoll(argv[1]) : 1000000;
    InstantLine line;
    NoClock clock;
    tavo::EcmLink link(line, clock);
    link.connectEcm("instant", {1, 1, 4});
    if (!link.linkConnected()) {
        std::puts("tavo_logging_soak: the instant ECM did not answer");
        return 1;
    }
    tavo::LoggingConfig config;
    tavo::setLoggingDefaults(config);
    tavo::AcquisitionState state;
    state.channelMask = 0x1FF;
    state.smoothing = true;
    tavo::setLogButton(state, true);
    const tavo::CustomAddressText custom = tavo::customAddressText("4f");
    tavo::HeldRow held;

    // One warm-up wrap; then the resident memory is read halfway and at the
    // end: a tick that leaked or grew anything would show between the two.
    for (int i = 0; i < tavo::kRingRows; ++i)
        tavo::runAcquisitionTick(state, held, config.channels, custom, link);
    const long residentStart = residentKiB();
    const long long allocationsBefore = allocations.load();
    const auto started = std::chrono::steady_clock::now();
    long long sampled = 0;
    long residentHalfway = 0;
    long long readingAllocations = 0;  // the halfway reading's own
    for (long long i = 0; i < ticks; ++i) {
        if (i == ticks / 2) {
            const long long before = allocations.load();
            residentHalfway = residentKiB();
            readingAllocations = allocations.load() - before;
        }
        sampled += tavo::runAcquisitionTick(state, held, config.channels, custom, link).stored ? 1 : 0;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const long long allocated = allocations.load() - allocationsBefore - readingAllocations;
    const long grown = residentKiB() - residentHalfway;

    std::printf("tavo_logging_soak: %lld ticks (%lld stored, the ring wrapped %lld times) in %.2f s, "
                "%.0f ticks/s, %llu queries\n",
                ticks, sampled, ticks / tavo::kRingRows, seconds, static_cast<double>(ticks) / seconds,
                static_cast<unsigned long long>(link.queries()));
    std::printf("tavo_logging_soak: %lld allocations by the ticks; resident memory %ld KiB at the start, "
                "%+ld KiB from halfway to the end\n",
                allocated, residentStart, grown);
    return allocated == 0 && grown <= 0 && sampled == ticks ? 0 : 1;
}
