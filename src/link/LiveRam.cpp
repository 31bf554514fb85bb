#include "link/LiveRam.h"

#include "common/TextFormat.h"
#include "link/EcmLink.h"

namespace tavo {

int nextLiveRamBase(int base, bool shiftHeld)
{
    const int next = base + (shiftHeld ? -16 : 16);
    if (next < 0x40)
        return 0xF0;
    if (next > 0xFF)
        return 0x40;
    return next;
}

int toggledLiveRamPeriod(int periodMs)
{
    return periodMs == kLiveRamSlowMs ? kLiveRamFastMs : kLiveRamSlowMs;
}

int liveRamAddress(int base, int offset)
{
    return (base + offset) & 0xFF;
}

std::string liveRamLocationText(int base)
{
    return hexUpper(static_cast<std::uint32_t>(base), 2, '0') + " - " +
           hexUpper(static_cast<std::uint32_t>(base + 15), 2, '0');
}

std::string liveRamValueText(std::uint8_t value)
{
    return hexUpper(value, 2, '0');
}

std::string liveRamValueText(std::optional<std::uint8_t> value)
{
    return value ? liveRamValueText(*value) : "--";
}

std::string liveRamSyncText(bool synced)
{
    return synced ? "**" : "--";
}

LiveRamReading runLiveRamTick(EcmLink& link, int base)
{
    LiveRamReading reading;
    reading.base = base;
    const SyncResult sync = link.checkSync();
    reading.synced = link.linkSynced();
    if (sync == SyncResult::NotConnected || sync == SyncResult::NoReply)
        return reading;
    const std::uint64_t strays = link.strayBytes();
    for (int i = 0; i < kLiveRamCount; ++i)
        reading.values[static_cast<std::size_t>(i)] = link.queryRam(liveRamAddress(base, i));
    // A byte still arriving after the last reply would show up here.
    link.emptyInput();
    if (link.strayBytes() != strays)
        reading.values = {};
    return reading;
}

}  // namespace tavo
