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

std::string liveRamSyncText(bool synced)
{
    return synced ? "**" : "--";
}

void runLiveRamTick(EcmLink& link, int base)
{
    link.checkSync();
    for (int i = 0; i < kLiveRamCount; ++i)
        link.queryRam(liveRamAddress(base, i));
}

}  // namespace tavo
