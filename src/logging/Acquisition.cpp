#include "logging/Acquisition.h"

#include <algorithm>
#include <limits>

#include "common/TextFormat.h"
#include "link/EcmLink.h"
#include "link/ReadingConfirmation.h"

namespace tavo {

namespace {

constexpr auto kShortestRetry = std::chrono::milliseconds(50);

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

// A RAM address of the configuration, which may hold any 32-bit number.
int ramAddress(std::int32_t location)
{
    return static_cast<int>(static_cast<std::uint32_t>(location) & 0xFFu);
}

TickRecord recordOf(const AcquisitionState& state, TickOutcome outcome)
{
    TickRecord record;
    record.outcome = outcome;
    record.writePos = state.writePos;
    record.sampleCount = state.sampleCount;
    record.prevRow1 = state.prevRow1;
    record.prevRow2 = state.prevRow2;
    record.customLocation = state.customLocation;
    record.channelMask = state.channelMask;
    const auto row = static_cast<std::size_t>(ringRow(state.writePos));
    record.row = state.samples[row];
    record.rowTimeUs = state.rowTimesUs[row];
    record.lostBefore = state.lostBefore[row];
    record.firstOfRun = state.firstOfRun[row];
    return record;
}

void countLost(HeldRow& held, TickRecord& record)
{
    record.lost = true;
    if (held.lostTicks < std::numeric_limits<std::uint16_t>::max())
        ++held.lostTicks;
}

// The held row goes into the ring at the next position.
void store(AcquisitionState& state, HeldRow& held, TickRecord& record)
{
    const int row = ringRow(static_cast<long long>(state.writePos) + 1);
    // The count stays at its largest value rather than overflow.
    if (state.sampleCount < std::numeric_limits<std::int32_t>::max())
        ++state.sampleCount;
    if (state.sampleCount >= kFirstSmoothedTick) {
        state.prevRow1 = previousRow(row);
        state.prevRow2 = previousRow(state.prevRow1);
    }
    state.writePos = row;
    state.customLocation = held.customLocation;
    const auto slot = static_cast<std::size_t>(row);
    state.samples[slot] = held.row;
    state.rowTimesUs[slot] = held.sampledUs;
    state.lostBefore[slot] = held.lostTicks;
    state.firstOfRun[slot] = held.firstOfRun;
    held.lostTicks = 0;
    held.firstOfRun = false;
    const std::uint32_t mask = record.channelMask;
    const bool synced = record.synced;
    const TickOutcome outcome = record.outcome;
    const TickTrouble trouble = record.trouble;
    record = recordOf(state, outcome);
    record.channelMask = mask;
    record.synced = synced;
    record.trouble = trouble;
    record.stored = true;
}

// The held row's fate after a sync check: stored when the check confirms it.
void settleHeldRow(AcquisitionState& state, HeldRow& held, SyncResult sync, const EcmLink& link,
                   TickRecord& record)
{
    if (held.held) {
        if (confirmedBy(HeldReading{true, held.strays}, sync, link))
            store(state, held, record);
        else
            countLost(held, record);
    } else if (held.troubled) {
        countLost(held, record);
    }
    held.held = false;
    held.troubled = false;
}

SyncResult confirmingSyncCheck(EcmLink& link)
{
    if (!link.linkConnected())
        return SyncResult::NotConnected;
    // Whatever came after the last reply shows up here, as a stray byte.
    link.emptyInput();
    return link.checkSync();
}

TickTrouble troubleOf(SyncResult sync)
{
    switch (sync) {
    case SyncResult::InStep:
    case SyncResult::Resynced: return TickTrouble::None;
    case SyncResult::NotConnected: return TickTrouble::NotConnected;
    case SyncResult::NoReply: return TickTrouble::NoReply;
    case SyncResult::OutOfStep: return TickTrouble::OutOfStep;
    }
    return TickTrouble::OutOfStep;
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

TickRecord runAcquisitionTick(AcquisitionState& state, HeldRow& held, const LogChannels& channels,
                              const CustomAddressText& customText, EcmLink& link)
{
    if (state.logPaused)
        return recordOf(state, TickOutcome::Stopped);
    if (!state.logOn)
        return recordOf(state, TickOutcome::Scrolled);

    TickRecord record;
    record.outcome = TickOutcome::Logged;
    record.channelMask = state.channelMask;
    const SyncResult sync = confirmingSyncCheck(link);
    if (link.interrupted()) {
        // The check was cut short: it proves nothing either way, so the held
        // row waits for the check at the end of the run.
        TickRecord cut = recordOf(state, TickOutcome::CutShort);
        return cut;
    }
    record.synced = link.linkSynced();
    settleHeldRow(state, held, sync, link, record);
    record.outcome = TickOutcome::Logged;
    record.trouble = troubleOf(sync);

    // The new row starts from the one at the next position, so a channel
    // switched off keeps its slot there as it was.
    // A stray byte during this tick's exchanges means one of its replies may
    // have answered another request: the row is not kept.
    const std::uint64_t straysBefore = link.strayBytes();
    HeldRow next;
    next.row = state.samples[static_cast<std::size_t>(ringRow(static_cast<long long>(state.writePos) + 1))];
    next.customLocation = state.customLocation;
    next.sampledUs = link.clock().now().count();
    const bool settled = state.sampleCount < std::numeric_limits<std::int32_t>::max() &&
                         state.sampleCount + 1 >= kFirstSmoothedTick;
    auto query = [&](int address) -> std::optional<std::uint8_t> {
        if (record.trouble != TickTrouble::None)
            return std::nullopt;
        const auto reply = link.queryRam(address);
        if (!reply)
            record.trouble = link.linkConnected() ? TickTrouble::NoReply : TickTrouble::NotConnected;
        return reply;
    };
    for (int n = 0; n < kChannelCount && record.trouble == TickTrouble::None; ++n) {
        if (!maskBit(state.channelMask, n))
            continue;
        const LogChannel& channel = channels[static_cast<std::size_t>(n)];
        const auto slot = static_cast<std::size_t>(n);
        const int address = ramAddress(channel.location);
        const auto high = query(address);
        if (!channel.word) {
            next.row[slot] = high.value_or(0);
            continue;
        }
        const auto low = query(address + 1);
        if (!high || !low)
            break;
        const double scaled = static_cast<double>(*high * 256 + *low) * channel.multiplier;
        next.row[slot] = lowByteOfTruncated(scaled);
        if (state.smoothing && settled) {
            // The rows stored one and two before this one.
            const int prev1 = ringRow(state.writePos);
            const int prev2 = previousRow(prev1);
            const int sum = state.samples[static_cast<std::size_t>(prev2)][slot] +
                            state.samples[static_cast<std::size_t>(prev1)][slot] + next.row[slot];
            next.row[slot] = static_cast<std::uint8_t>(sum / 3);
        }
    }
    if (record.trouble == TickTrouble::None && (state.channelMask & kCustomBit)) {
        const std::string_view text(customText.data(), std::find(customText.begin(), customText.end(), '\0') -
                                                           customText.begin());
        if (const auto parsed = parseHexPrefix(text, 2))
            next.customLocation = static_cast<std::int32_t>(*parsed);
        if (next.customLocation >= kFirstSampledCustom && next.customLocation <= 0xFF) {
            if (const auto reply = query(next.customLocation))
                next.row[kCustomSlot] = *reply;
        }
    }
    if (link.interrupted()) {
        record.outcome = TickOutcome::CutShort;
        return record;
    }
    if (record.trouble == TickTrouble::None && link.strayBytes() != straysBefore)
        record.trouble = TickTrouble::OutOfStep;
    if (record.trouble == TickTrouble::None) {
        next.held = true;
        next.strays = link.strayBytes();
        next.lostTicks = held.lostTicks;
        next.firstOfRun = held.firstOfRun;
        held = next;
    } else {
        held.troubled = true;
    }
    return record;
}

TickRecord finishAcquisitionRun(AcquisitionState& state, HeldRow& held, EcmLink& link)
{
    TickRecord record = recordOf(state, TickOutcome::Logged);
    if (!held.held && !held.troubled)
        return recordOf(state, TickOutcome::Stopped);
    const SyncResult sync = confirmingSyncCheck(link);
    record.synced = link.linkSynced();
    record.lost = false;
    record.stored = false;
    settleHeldRow(state, held, sync, link, record);
    return record;
}

void applyTickRecord(AcquisitionState& copy, const TickRecord& record)
{
    if (!record.stored)
        return;
    copy.writePos = record.writePos;
    copy.sampleCount = record.sampleCount;
    copy.prevRow1 = record.prevRow1;
    copy.prevRow2 = record.prevRow2;
    copy.customLocation = record.customLocation;
    const auto row = static_cast<std::size_t>(ringRow(record.writePos));
    copy.samples[row] = record.row;
    copy.rowTimesUs[row] = record.rowTimeUs;
    copy.lostBefore[row] = record.lostBefore;
    copy.firstOfRun[row] = record.firstOfRun;
}

void adoptRing(AcquisitionState& to, const AcquisitionState& from)
{
    to.samples = from.samples;
    to.rowTimesUs = from.rowTimesUs;
    to.lostBefore = from.lostBefore;
    to.firstOfRun = from.firstOfRun;
    to.writePos = from.writePos;
    to.sampleCount = from.sampleCount;
    to.prevRow1 = from.prevRow1;
    to.prevRow2 = from.prevRow2;
    to.customLocation = from.customLocation;
}

const char* syncText(bool synced)
{
    return synced ? "SYNC" : "----";
}

int tickIntervalMs(std::int32_t samplePeriodMs)
{
    return samplePeriodMs <= 1 ? 0 : samplePeriodMs;
}

std::chrono::microseconds retryInterval(std::int32_t samplePeriodMs)
{
    return std::max<std::chrono::microseconds>(kShortestRetry, std::chrono::milliseconds(std::max(samplePeriodMs, 0)));
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

int exchangesPerTick(const LogChannels& channels, std::uint32_t channelMask)
{
    int exchanges = 2;
    for (int n = 0; n < kChannelCount; ++n)
        if (maskBit(channelMask, n))
            exchanges += channels[static_cast<std::size_t>(n)].word ? 2 : 1;
    return exchanges + ((channelMask & kCustomBit) ? 1 : 0);
}

}  // namespace tavo
