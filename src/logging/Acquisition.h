#pragma once
// The acquisition of the Data Logging dialog: the sample ring with its
// position and flags, and the tick that takes one row of samples over the
// ECM link. Plain logic: no Qt, no clock, no allocation per tick.

#include <array>
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
// Smoothing and the previous rows start with this logged tick.
inline constexpr int kFirstSmoothedTick = 6;

using SampleRow = std::array<std::uint8_t, kRowSlots>;
using SampleRing = std::array<SampleRow, kRingRows>;
using LogChannels = std::array<LogChannel, kChannelCount>;

// Everything the acquisition keeps for the whole run; a later opening of the
// dialog continues where the last one stopped. Nothing here is ever reset.
struct AcquisitionState {
    SampleRing samples{};            // slots 0-7: channels 1-8, slot 8: custom address
    std::int32_t writePos = 0;       // row written by the latest logging tick
    std::int32_t sampleCount = 0;    // logging ticks since start-up
    std::int32_t prevRow1 = -1;      // rows written one and two ticks before writePos
    std::int32_t prevRow2 = -1;
    std::uint32_t channelMask = 0;
    std::int32_t samplePeriodMs = 125;
    std::int32_t customLocation = kFirstSampledCustom;
    bool logOn = false;      // LOG pressed
    bool logPaused = false;  // set when LOG is released: ticks do nothing
    bool smoothing = false;  // three-point smoothing of 16-bit channels
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
    Scrolled,  // no sample; the graph advances by one column
    Sampled,   // a new row at writePos; the graph advances
    CutShort,  // the link was interrupted (stop, disconnect) mid-tick: nothing stored
};

// One timer tick: in the Logging phase it advances writePos, runs the sync
// check, queries the channels of channelMask (two queries for a 16-bit
// channel, high byte first) and the custom address, and stores one row.
TickOutcome runAcquisitionTick(AcquisitionState& state, const LogChannels& channels,
                               const CustomAddressText& customText, EcmLink& link);

// What one tick hands to the window: enough to bring a copy of the state to
// the point the tick left the original at.
struct TickRecord {
    TickOutcome outcome = TickOutcome::Stopped;
    std::int32_t writePos = 0;
    std::int32_t sampleCount = 0;
    std::int32_t prevRow1 = -1;
    std::int32_t prevRow2 = -1;
    std::int32_t customLocation = kFirstSampledCustom;
    std::uint32_t channelMask = 0;  // the mask the tick ran with: its column draws these traces
    SampleRow row{};
    bool synced = false;
};
TickRecord tickRecord(const AcquisitionState& state, TickOutcome outcome, bool synced);
// Brings the copy's ring, position and custom address to the tick's; the
// copy's own flags, mask and period (the window's) are left alone.
void applyTickRecord(AcquisitionState& copy, const TickRecord& record);
// The sync indicator after a logged tick.
const char* syncText(bool synced);

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

// The ten mask check boxes in bit order: "&1" to "&8", "&Custom:", "Si&gned".
inline constexpr std::array<int, 10> kMaskBoxIds{1112, 1113, 1111, 1114, 1115, 1116, 1117, 1118, 1155, 1157};
std::uint32_t maskFromBoxes(const std::array<bool, 10>& checked);
bool maskBit(std::uint32_t mask, int bit);

// Rows in the ring: the one before a row, wrapping below 0.
int previousRow(int row);

}  // namespace tavo
