#pragma once
// Reads a .tbl definition file into a RomImage: the ROM information header,
// the keyword lines and one entry line per table definition.

#include <string>
#include <string_view>
#include <vector>

#include "tables/TableDef.h"

namespace tavo {

struct RomImage;
class RomPrompts;

struct TableReadResult {
    bool fileFound = false;   // false: the file was missing and has been created
    int entriesDropped = 0;   // entry lines beyond the 514-entry capacity
    bool refused = false;     // the file exists but could not be read: nothing changed
    bool cancelled = false;   // the file was missing and the ROM information step was
                              // cancelled: no file written
    // What the slots held before the entries read were put in them, slot i's
    // at index i: a load refused after the read puts them back, so even the
    // slots above the old entry count keep what they last held.
    std::vector<TableDef> displacedSlots;
};

// Parses the text of a definition file into the record: entries and D-Cal
// version are emptied first; other ROM information keeps its value unless
// the file sets it.
TableReadResult readTableText(RomImage& rom, std::string_view text);

// Reads the record's tblPath. Only a file that does not exist is missing: it
// runs the ROM information step and writes a new file from its answers (Cancel
// there writes nothing and leaves the record's entries emptied). A
// file that exists but cannot be read (no permission, a folder, a pipe or
// device, larger than 64 MiB, a read error) is refused with a message that
// names it and the reason; the file and the record stay as they were. More
// than 514 entries, or a new file that cannot be written, is reported once.
TableReadResult readTableFile(RomImage& rom, RomPrompts& prompts);

// "Unable to read the table definition file:", the path and the reason.
std::string tableFileUnreadable(std::string_view path, std::string_view reason);

}  // namespace tavo
