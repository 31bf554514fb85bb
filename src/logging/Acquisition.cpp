#include "logging/Acquisition.h"

#include <algorithm>
#include <limits>

#include "common/TextFormat.h"
#include "link/EcmLink.h"

namespace tavo {

namespace {

int wrapRow(int row)
{
    return ((row % kRingRows) + kRingRows) % kRingRows;
}

std::uint8_t query(EcmLink& link, int address)
{
    const auto slot = static_cast<std::size_t>(address & 0xFF);
    link.queryRam(static_cast<int>(slot));
    return link.ramMirror()[slot];
}

// Truncated toward zero to a 32-bit integer, of which the low byte is kept.
// A product beyond 32 bits (or not a number, from an odd multiplier) gives
// the processor's "integer indefinite" 0x80000000, as the conversion
// instruction does, rather than undefined behaviour.
std::uint8_t lowByteOfTruncated(double value)
{
    std::uint32_t whole = 0x80000000u;
    if (value > -2147483649.0 && value < 2147483648.0)
        whole = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    return static_cast<std::uint8_t>(whole & 0xFF);
}

}  // namespace

CustomAddressText customAddressText(std::string_view text)
{
    CustomAddressText field{};
    const std::size_t length = std::min(text.size(), field.size() - 1);
    std::copy_n(text.begin(), length, field.begin());
    return field;
}

std::string customLocationText(std::int32_t location)
{
    return hexLower(static_cast<std::uint32_t>(location), 2, ' ');
}

LoggingPhase loggingPhase(const AcquisitionState& state)
{
    if (state.logPaused)
        return LoggingPhase::Stopped;
    return state.logOn ? LoggingPhase::Logging : LoggingPhase::Idle;
}

void setLogButton(AcquisitionState& state, bool pressed)
{
    state.logOn = pressed;
    state.logPaused = !pressed;
}

TickOutcome runAcquisitionTick(AcquisitionState& state, const LogChannels& channels,
                               const CustomAddressText& customText, EcmLink& link)
{
    if (state.logPaused)
        return TickOutcome::Stopped;
    if (!state.logOn)
        return TickOutcome::Scrolled;

    // The row is built aside and stored at the end, so a tick cut short by a
    // stop or a disconnect leaves the ring as it was.
    const int row = wrapRow(state.writePos + 1);
    // The count stays at its largest value rather than overflow (24 days
    // of back-to-back ticks).
    const std::int32_t count =
        state.sampleCount == std::numeric_limits<std::int32_t>::max() ? state.sampleCount : state.sampleCount + 1;
    const bool settled = count >= kFirstSmoothedTick;
    const std::int32_t prevRow1 = settled ? wrapRow(row - 1) : state.prevRow1;
    const std::int32_t prevRow2 = settled ? wrapRow(row - 2) : state.prevRow2;

    link.checkSync();
    SampleRow sample = state.samples[static_cast<std::size_t>(row)];
    for (int n = 0; n < kChannelCount; ++n) {
        if (!maskBit(state.channelMask, n))
            continue;
        const LogChannel& channel = channels[static_cast<std::size_t>(n)];
        const auto slot = static_cast<std::size_t>(n);
        if (!channel.word) {
            sample[slot] = query(link, channel.location);
            continue;
        }
        const int high = query(link, channel.location);
        const int low = query(link, channel.location + 1);
        const double scaled = static_cast<double>(high * 256 + low) * channel.multiplier;
        sample[slot] = lowByteOfTruncated(scaled);
        if (state.smoothing && settled) {
            const int sum = state.samples[static_cast<std::size_t>(prevRow2)][slot] +
                            state.samples[static_cast<std::size_t>(prevRow1)][slot] + sample[slot];
            sample[slot] = static_cast<std::uint8_t>(sum / 3);
        }
    }
    std::int32_t customLocation = state.customLocation;
    if (state.channelMask & kCustomBit) {
        const std::string_view text(customText.data(), std::find(customText.begin(), customText.end(), '\0') -
                                                           customText.begin());
        if (const auto parsed = parseHexPrefix(text, 2))
            customLocation = static_cast<std::int32_t>(*parsed);
        if (customLocation >= kFirstSampledCustom && customLocation <= 0xFF)
            sample[kCustomSlot] = query(link, customLocation);
    }
    if (link.interrupted())
        return TickOutcome::CutShort;

    state.writePos = row;
    state.sampleCount = count;
    state.prevRow1 = prevRow1;
    state.prevRow2 = prevRow2;
    state.customLocation = customLocation;
    state.samples[static_cast<std::size_t>(row)] = sample;
    return TickOutcome::Sampled;
}

TickRecord tickRecord(const AcquisitionState& state, TickOutcome outcome, bool synced)
{
    TickRecord record;
    record.outcome = outcome;
    record.writePos = state.writePos;
    record.sampleCount = state.sampleCount;
    record.prevRow1 = state.prevRow1;
    record.prevRow2 = state.prevRow2;
    record.customLocation = state.customLocation;
    record.channelMask = state.channelMask;
    record.row = state.samples[static_cast<std::size_t>(wrapRow(state.writePos))];
    record.synced = synced;
    return record;
}

void applyTickRecord(AcquisitionState& copy, const TickRecord& record)
{
    if (record.outcome != TickOutcome::Sampled)
        return;
    copy.writePos = record.writePos;
    copy.sampleCount = record.sampleCount;
    copy.prevRow1 = record.prevRow1;
    copy.prevRow2 = record.prevRow2;
    copy.customLocation = record.customLocation;
    copy.samples[static_cast<std::size_t>(wrapRow(record.writePos))] = record.row;
}

const char* syncText(bool synced)
{
    return synced ? "SYNC" : "----";
}

int tickIntervalMs(std::int32_t samplePeriodMs)
{
    return samplePeriodMs <= 1 ? 0 : samplePeriodMs;
}

std::uint32_t maskFromBoxes(const std::array<bool, 10>& checked)
{
    std::uint32_t mask = 0;
    for (std::size_t bit = 0; bit < checked.size(); ++bit)
        if (checked[bit])
            mask |= 1u << bit;
    return mask;
}

bool maskBit(std::uint32_t mask, int bit)
{
    return (mask >> bit) & 1u;
}

int previousRow(int row)
{
    return wrapRow(row - 1);
}

}  // namespace tavo
