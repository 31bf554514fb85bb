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

LiveRamReading runLiveRamTick(EcmLink& link, int base, LiveRamHeld& held)
{
    if (link.linkConnected())
        link.emptyInput();
    const SyncResult sync = link.checkSync();
    const bool inStep = sync == SyncResult::InStep || sync == SyncResult::Resynced;
    // The reading before this one shows only once this check confirms it.
    LiveRamReading shown = held.reading;
    if (!confirmedBy(held.check, sync, link))
        shown.values = {};
    shown.synced = inStep;  // only the check of this refresh, just passed

    held = LiveRamHeld{};
    held.reading.base = base;
    if (!inStep)
        return shown;
    const std::uint64_t strays = link.strayBytes();
    for (int i = 0; i < kLiveRamCount; ++i)
        held.reading.values[static_cast<std::size_t>(i)] = link.queryRam(liveRamAddress(base, i));
    held.check = holdReading(link, true, strays);
    return shown;
}

}  // namespace tavo
