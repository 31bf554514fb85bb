#include "analysis/FuelTables.h"

#include "common/UserPrompts.h"
#include "rom/RomImage.h"
#include "tables/TableLookup.h"

namespace tavo {

namespace {

// findTable refuses an entry whose address lies outside the 64 KiB space, so
// such an entry counts as missing rather than being drawn from nowhere.
int indexOf(const RomImage& rom, std::string_view chryslerName)
{
    if (!findTable(rom, chryslerName))
        return -1;
    return findTableIndexOrNone(rom, chryslerName);
}

std::string addressOf(const RomImage& rom, int index)
{
    if (index < 0)
        return "0";
    return std::to_string(rom.tables[static_cast<std::size_t>(index)].offset);
}

}  // namespace

FuelTables findFuelTables(const RomImage& rom)
{
    FuelTables tables;
    tables.fullThrottle = indexOf(rom, kFullThrottleTable);
    tables.partThrottle = indexOf(rom, kPartThrottleTable);
    tables.idle = indexOf(rom, kIdleTable);
    tables.pump = indexOf(rom, kPumpTable);
    return tables;
}

std::string fuelTableSummary(const RomImage& rom, const FuelTables& tables)
{
    return "WOT = " + addressOf(rom, tables.fullThrottle) + ", PART = " + addressOf(rom, tables.partThrottle) +
           ", IDLE = " + addressOf(rom, tables.idle) + ", PUMP = " + addressOf(rom, tables.pump);
}

std::optional<FuelTables> requireFuelTables(const RomImage& rom, UserPrompts& prompts)
{
    const FuelTables tables = findFuelTables(rom);
    if (!tables.complete()) {
        prompts.showMessage(kMissingFuelTables, kFuelingErrorTitle, MessageIcon::Error);
        return std::nullopt;
    }
    return tables;
}

}  // namespace tavo
