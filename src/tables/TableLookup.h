#pragma once
// Finding an entry by its Chrysler name (WOTTBL, MAPTBL, ...), without
// regard to case; the first entry of a name wins.

#include <cstdint>
#include <string_view>

namespace tavo {

struct RomImage;

// The item's first byte in the record's image, or null when no entry has the name.
const std::uint8_t* findTable(const RomImage& rom, std::string_view chryslerName);
// The index of the first match, 0 when nothing matches.
int findTableIndex(const RomImage& rom, std::string_view chryslerName);
// The index of the first match, or -1.
int findTableIndexOrNone(const RomImage& rom, std::string_view chryslerName);

}  // namespace tavo
