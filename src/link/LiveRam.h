#pragma once
// The rules of the Live RAM display: sixteen ECM RAM bytes from a base that
// steps through 0x40..0xF0, refreshed on a timer, with a sync indicator.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/ReadingConfirmation.h"

namespace tavo {

class EcmLink;

// Kept across openings of the display, for the whole run.
struct LiveRamState {
    int liveRamBase = 0x40;      // first address shown: 0x40, 0x50, ..., 0xF0
    int liveRamPeriodMs = 200;   // refresh period: 200 or 1
};

inline constexpr int kLiveRamCount = 16;
inline constexpr int kLiveRamSlowMs = 200;
inline constexpr int kLiveRamFastMs = 1;

// Bank: sixteen up, or down with Shift, wrapping within 0x40..0xF0.
int nextLiveRamBase(int base, bool shiftHeld);
// Speed: 200 ms becomes 1 ms, anything else 200 ms.
int toggledLiveRamPeriod(int periodMs);

int liveRamAddress(int base, int offset);  // modulo 256
std::string liveRamLocationText(int base);  // "40 - 4F"
std::string liveRamValueText(std::uint8_t value);  // "0A"
// An address that did not answer shows "--", never a value from before.
std::string liveRamValueText(std::optional<std::uint8_t> value);
std::string liveRamSyncText(bool synced);  // "**" or "--"

// What one refresh read: each address's answer, or nothing.
struct LiveRamReading {
    int base = 0x40;
    std::array<std::optional<std::uint8_t>, kLiveRamCount> values{};
    bool synced = false;
};

// What one refresh leaves for the next: its reading, shown only once the
// next sync check has found the replies still in step.
struct LiveRamHeld {
    HeldReading check;
    LiveRamReading reading;
};

// One refresh on the link: the sync check, then the sixteen addresses. It
// returns the reading of the refresh before, confirmed by this one's sync
// check: a reading during or after which bytes turned up that no request was
// waiting for shows no value at all (any of them may have been another
// address's answer). A silent ECM is not asked for the sixteen.
LiveRamReading runLiveRamTick(EcmLink& link, int base, LiveRamHeld& held);

}  // namespace tavo
