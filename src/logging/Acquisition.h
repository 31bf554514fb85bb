#pragma once
// The acquisition of the Data Logging dialog: the sample ring with its
// position and flags, and the tick that takes one row of samples over the
// ECM link. Plain logic: no Qt, no allocation per tick.
//
// A row goes into the ring only when every request of its tick was
// answered, and only once the next sync check (the next tick's, or one more
// at the end of a run) has shown that the replies were still in step and no
// byte turned up that no request was waiting for. Until then it is held; a
// row that fails is dropped and the ring stays as it was. So every stored
// value is one the ECM sent for that address.

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "logging/LoggingConfig.h"

namespace tavo {

class EcmLink;

inline constexpr int kRingRows = 4096;
inline constexpr int kRowSlots = 16;
inline constexpr int kChannelCount = 8;
inline constexpr int kCustomSlot = 8;
// channelMask: bits 0 to 7 the channels, bit 8 the custom address, bit 9 the
// Signed box (only carried along).
inline constexpr std::uint32_t kCustomBit = 1u << 8;
inline constexpr std::uint32_t kSignedBit = 1u << 9;
// The custom address is sampled from 0x40 up; the graph draws it from 0x3F.
inline constexpr int kFirstSampledCustom = 0x40;
inline constexpr int kFirstDrawnCustom = 0x3F;
// Smoothing and the previous rows start with this stored row.
inline constexpr int kFirstSmoothedTick = 6;

using SampleRow = std::array<std::uint8_t, kRowSlots>;
using SampleRing = std::array<SampleRow, kRingRows>;
using LogChannels = std::array<LogChannel, kChannelCount>;

// The one rule for positions in the ring: any whole number, taken modulo
// 4096 into 0..4095 (a writePos from a file may be anything).
constexpr int ringRow(long long position)
{
    return static_cast<int>(((position % kRingRows) + kRingRows) % kRingRows);
}
constexpr int previousRow(int row)
{
    return ringRow(static_cast<long long>(row) - 1);
}

// Everything the acquisition keeps for the whole run; a later opening of the
// dialog continues where the last one stopped. Nothing here is ever reset.
struct AcquisitionState {
    SampleRing samples{};            // slots 0-7: channels 1-8, slot 8: custom address
    std::int32_t writePos = 0;       // row written by the latest stored tick
    std::int32_t sampleCount = 0;    // rows stored since start-up
    std::int32_t prevRow1 = -1;      // rows stored one and two rows before writePos
    std::int32_t prevRow2 = -1;
    std::uint32_t channelMask = 0;
    std::int32_t samplePeriodMs = 125;
    std::int32_t customLocation = kFirstSampledCustom;
    bool logOn = false;      // LOG pressed
    bool logPaused = false;  // set when LOG is released: ticks do nothing
    bool smoothing = false;  // three-point smoothing of 16-bit channels

    // Beside the ring, in memory only (the log file's layout has no room):
    // when each row's tick sampled, on the link's clock, and how many ticks
    // before it got no row (a gap in the chart), at most 65535.
    std::array<std::int64_t, kRingRows> rowTimesUs{};
    std::array<std::uint16_t, kRingRows> lostBefore{};
    // Whether each row is the first of a LOG run: the chart marks where one
    // run ended and the next began, never joining them with a line.
    std::array<bool, kRingRows> firstOfRun{};
};

// The custom address field's text as a tick reads it: at most 7 characters.
using CustomAddressText = std::array<char, 8>;
CustomAddressText customAddressText(std::string_view text);
// The field's text for an address ("%2x": " 5", "40").
std::string customLocationText(std::int32_t location);

enum class LoggingPhase {
    Idle,     // LOG never pressed: the graph scrolls, repeating the latest segment
    Logging,  // a row per tick
    Stopped,  // LOG released: ticks do nothing
};
LoggingPhase loggingPhase(const AcquisitionState& state);

// LOG pressed (once connected) or released (before disconnecting).
void setLogButton(AcquisitionState& state, bool pressed);

enum class TickOutcome {
    Stopped,   // nothing done, nothing to draw
    Scrolled,  // no sample; the graph advances by one column repeating the latest segment
    Logged,    // a logging tick: the graph advances by one column (see TickRecord)
    Waiting,   // a logging tick that tried nothing yet (resting after a failed one): nothing to draw
    CutShort,  // the link was interrupted (stop, disconnect) mid-tick: nothing stored
};

// Why a logging tick's own row will not be stored.
enum class TickTrouble {
    None,          // every reply came and the sync check passed: the row is held
    NotConnected,  // there is no link (lost, or never made)
    NoReply,       // a request went unanswered (a 16-bit channel's second half included)
    OutOfStep,     // the sync check failed, or bytes came that no request waited for
};

// What a tick leaves for the next one: a row whose replies all came, held
// until the next sync check, and the account of rows lost since the last
// one stored (the chart's gap).
struct HeldRow {
    bool held = false;
    SampleRow row{};
    std::int32_t customLocation = kFirstSampledCustom;
    std::int64_t sampledUs = 0;
    std::uint64_t strays = 0;     // the link's stray-byte count when the row's last reply came
    bool troubled = false;        // the last logging tick got no row of its own
    std::uint16_t lostTicks = 0;  // rows lost since the last one stored
    bool firstOfRun = false;      // no row of this LOG run stored yet
};

// What one tick hands to the window: enough to bring a copy of the state to
// the point the tick left the original at, and to draw its column.
struct TickRecord {
    TickOutcome outcome = TickOutcome::Stopped;
    bool stored = false;  // a row went into the ring (the one held from the tick before)
    bool lost = false;    // the tick before sampled, but its row failed the check
    TickTrouble trouble = TickTrouble::None;
    std::int32_t writePos = 0;
    std::int32_t sampleCount = 0;
    std::int32_t prevRow1 = -1;
    std::int32_t prevRow2 = -1;
    std::int32_t customLocation = kFirstSampledCustom;
    std::uint32_t channelMask = 0;  // the mask the tick ran with: its column draws these traces
    SampleRow row{};                // the stored row
    std::int64_t rowTimeUs = 0;
    std::uint16_t lostBefore = 0;
    bool firstOfRun = false;
    bool synced = false;
};

// One timer tick. In the Logging phase: empties the input, runs the sync
// check (which decides the held row's fate), then queries the channels of
// channelMask (two queries for a 16-bit channel, high byte first) and the
// custom address and holds the new row when every reply came. A tick stops
// at its first unanswered request.
TickRecord runAcquisitionTick(AcquisitionState& state, HeldRow& held, const LogChannels& channels,
                              const CustomAddressText& customText, EcmLink& link);
// The exchanges of one logging tick whose replies all come in step: the
// sync check's two, one per 8-bit channel of the mask, two per 16-bit one,
// and one for the custom address.
int exchangesPerTick(const LogChannels& channels, std::uint32_t channelMask);
// The end of a run (LOG released, the window closed, the end of tavo-cli
// log): one more sync check decides the held row's fate.
TickRecord finishAcquisitionRun(AcquisitionState& state, HeldRow& held, EcmLink& link);

// Brings the copy's ring, position and custom address to the tick's; the
// copy's own flags, mask and period (the window's) are left alone.
void applyTickRecord(AcquisitionState& copy, const TickRecord& record);
// Takes over the ring, its times and gaps, the position and the custom
// address of `from` (the ticks' copy at the end of a run).
void adoptRing(AcquisitionState& to, const AcquisitionState& from);
// The sync indicator after a logged tick.
const char* syncText(bool synced);

// What the sync indicator shows over a run: only a sync check that just
// passed. From the moment a run starts connecting until a check passes, after
// a check that failed, and once the run has ended, nothing is in step.
class SyncIndicator {
public:
    // Each says whether the indicator's text changes.
    bool runStarting() { return set(false); }
    bool checked(bool passed) { return set(passed); }
    bool runEnded() { return set(false); }

    bool synced() const { return synced_; }
    const char* text() const { return syncText(synced_); }

private:
    bool set(bool synced)
    {
        const bool changed = synced != synced_;
        synced_ = synced;
        return changed;
    }
    bool synced_ = false;
};

// The sample-rate radios, in the dialog's order.
struct SampleRate {
    const char* label;
    int controlId;
    std::int32_t periodMs;
};
inline constexpr std::array<SampleRate, 5> kSampleRates{{
    {"&Fastest", 1130, 1},
    {"16 / second", 1131, 62},
    {"8 / second", 1134, 125},
    {"4 / second", 1132, 250},
    {"2 / second", 1133, 500},
}};
// The tick interval for a sample period: "Fastest" (1 ms) runs ticks back to
// back, as fast as the line answers.
int tickIntervalMs(std::int32_t samplePeriodMs);
// How long after a failed logging tick the next one may try again: the
// chosen period, and never less than 50 ms, so a dead ECM is not hammered.
std::chrono::microseconds retryInterval(std::int32_t samplePeriodMs);

// The ten mask check boxes in bit order: "&1" to "&8", "&Custom:", "Si&gned".
inline constexpr std::array<int, 10> kMaskBoxIds{1112, 1113, 1111, 1114, 1115, 1116, 1117, 1118, 1155, 1157};
std::uint32_t maskFromBoxes(const std::array<bool, 10>& checked);
bool maskBit(std::uint32_t mask, int bit);

}  // namespace tavo
