#include "EcmResponder.h"

#include <algorithm>
#include <cstdlib>

#include "EngineModel.h"

namespace tavo::sim {

EcmResponder::EcmResponder(const SimOptions& options) : options_(options)
{
    fillEnginePage(modelPage_, 0.0);
}

bool EcmResponder::understands(int baud) const
{
    // A UART takes a rate within a couple of percent for its own.
    return !options_.baud ||
           std::abs(static_cast<long long>(baud) - *options_.baud) * 50 <= static_cast<long long>(*options_.baud);
}

const RamPage& EcmResponder::page() const
{
    if (!options_.frames.empty())
        return options_.frames[static_cast<std::size_t>(std::max(frame_, 0))];
    if (options_.ram)
        return *options_.ram;
    return modelPage_;
}

std::uint8_t EcmResponder::nextNoise()
{
    noise_ = noise_ * 1664525u + 1013904223u;
    return static_cast<std::uint8_t>(noise_ >> 24);
}

bool EcmResponder::every(int k) const
{
    return k > 0 && answerable_ % static_cast<std::uint64_t>(k) == 0;
}

SimReply EcmResponder::hear(std::uint8_t request, int baud, double seconds)
{
    ++statistics_.heard;
    // A wake-up is a 0x12 at a lower rate than the probe before it.
    if (request == 0x12) {
        if (lastProbeBaud_ > 0 && baud < lastProbeBaud_)
            ++wakeUps_;
        lastProbeBaud_ = baud;
    }
    const bool muted = options_.muteAfter >= 0 && statistics_.heard > static_cast<std::uint64_t>(options_.muteAfter);
    if (options_.silent || muted || !understands(baud) || wakeUps_ < options_.answerFromAttempt - 1) {
        ++statistics_.ignored;
        return {};
    }
    // Each sync check starts a new page.
    if (request == 0x00) {
        if (!options_.frames.empty())
            frame_ = std::min(frame_ + 1, static_cast<int>(options_.frames.size()) - 1);
        else if (!options_.ram)
            fillEnginePage(modelPage_, seconds);
    }
    ++answerable_;
    if (every(options_.dropEvery)) {
        ++statistics_.ignored;
        return {};
    }
    SimReply reply;
    reply.bytes[0] = request == 0x12 ? 0x12 : request == 0x00 ? 0xFF : page()[request];
    reply.count = 1;
    if (options_.extraBytes) {
        for (int i = 1; i < 3; ++i)
            reply.bytes[static_cast<std::size_t>(i)] = nextNoise();
        reply.count = 3;
    }
    if (every(options_.lateEvery))
        reply.lateMs = options_.lateMs;
    if (every(options_.twiceEvery)) {
        reply.followUpCount = 1;
        reply.followUp = reply.bytes[0];
    } else if (every(options_.noiseEvery)) {
        reply.followUpCount = 1;
        reply.followUp = nextNoise();
    }
    ++statistics_.replied;
    return reply;
}

}  // namespace tavo::sim
