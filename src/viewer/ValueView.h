#pragma once
// The value view of the Quick Viewer: constants in a hexadecimal field,
// choice bytes as eight radio buttons and bit fields as eight check boxes.
// Every change is written to the image at once.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "tables/TableDef.h"

namespace tavo {

// The value the entry's byte holds: the two bytes of a Const16 (high
// first), the one byte of every other kind.
std::uint32_t constantValue(const ImageBuffer& image, const TableDef& def);
// The constant's value in lower-case hexadecimal without leading zeros ("%x").
std::string constantText(const ImageBuffer& image, const TableDef& def);

// Takes the field's text (its first 7 characters) as "%4x" and stores the
// low byte (Const8) or both bytes (Const16). A text without a hexadecimal
// digit, or an entry of another kind, stores nothing; false then.
bool writeConstantText(ImageBuffer& image, const TableDef& def, std::string_view text);

struct ChoiceControl {
    bool visible = false;
    std::string label;
    bool checked = false;
};

// Radio button i: hidden for a choice named "Unused", otherwise labelled
// "<name> (%2x)" and checked when the byte holds the choice's value (two
// choices of the same value are both checked).
std::array<ChoiceControl, 8> choiceButtons(const ImageBuffer& image, const TableDef& def);
// Clicking choice i stores the low 8 bits of its value.
void writeChoice(ImageBuffer& image, const TableDef& def, int choice);

// Check box i: hidden for a bit named "Not Used", otherwise labelled with the
// bit's name and checked when bit i of the byte is set.
std::array<ChoiceControl, 8> flagBoxes(const ImageBuffer& image, const TableDef& def);
// Sets or clears bit i of the byte.
void writeFlag(ImageBuffer& image, const TableDef& def, int bit, bool set);

}  // namespace tavo
