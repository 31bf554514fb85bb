#pragma once
// Reads a .tbl definition file into a RomImage: the ROM information header,
// the keyword lines and one entry line per table definition.

#include <string_view>

namespace tavo {

struct RomImage;
class RomPrompts;

struct TableReadResult {
    bool fileFound = false;   // false: the file was missing and has been created
    int entriesDropped = 0;   // entry lines beyond the 514-entry capacity
};

// Parses the text of a definition file into the record: entries and D-Cal
// version are emptied first; other ROM information keeps its value unless
// the file sets it.
TableReadResult readTableText(RomImage& rom, std::string_view text);

// Reads the record's tblPath. A missing file runs the ROM information step
// and writes a new file from its answers; more than 514 entries, or a new
// file that cannot be written, is reported once.
TableReadResult readTableFile(RomImage& rom, RomPrompts& prompts);

}  // namespace tavo
