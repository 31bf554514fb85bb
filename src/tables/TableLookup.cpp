#include "tables/TableLookup.h"

#include "common/TextFormat.h"
#include "rom/RomImage.h"

namespace tavo {

int findTableIndexOrNone(const RomImage& rom, std::string_view chryslerName)
{
    for (int i = 0; i < rom.entryCount && i < kTableCapacity; ++i)
        if (equalsIgnoreCase(rom.tables[static_cast<std::size_t>(i)].chryslerName, chryslerName))
            return i;
    return -1;
}

const std::uint8_t* findTable(const RomImage& rom, std::string_view chryslerName)
{
    const int index = findTableIndexOrNone(rom, chryslerName);
    if (index < 0)
        return nullptr;
    const int offset = rom.tables[static_cast<std::size_t>(index)].offset;
    if (offset < 0 || offset > kLastAddress)
        return nullptr;
    return rom.image.data() + offset;
}

int findTableIndex(const RomImage& rom, std::string_view chryslerName)
{
    const int index = findTableIndexOrNone(rom, chryslerName);
    return index < 0 ? 0 : index;
}

}  // namespace tavo
