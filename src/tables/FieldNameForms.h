#pragma once
// The "BitField Field Names" and "Values" forms: the names of a bit field's
// eight bits, and the eight named choices of a choice byte with their values.

#include <array>
#include <string>

#include "tables/TableDef.h"

namespace tavo {

using BitNameTexts = std::array<std::string, 8>;

struct ChoiceTexts {
    std::array<std::string, 8> names;
    std::array<std::string, 8> values;  // "%02x"
};

// "Bit 0 (01)" to "Bit 7 (80)".
std::string bitNameLabel(int bit);

BitNameTexts bitNameTexts(const TableDef& def);
// OK: each name cut to 63 characters; an empty one becomes "Not Used".
void applyBitNames(TableDef& def, const BitNameTexts& texts);

ChoiceTexts choiceTexts(const TableDef& def);
// OK: each name cut to 63 characters, an empty one becoming "Unused"; then
// each value read as up to four hexadecimal digits (so 1ff is 0x1FF), a text
// without a hexadecimal digit, or one left as it was shown, keeping the
// previous value.
void applyChoices(TableDef& def, const ChoiceTexts& texts);

}  // namespace tavo
