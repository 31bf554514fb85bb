#pragma once
// Writes the ROM information and every definition of a RomImage as a .tbl
// file, CR LF line ends, in the form the reader takes back.

#include <string>

#include "common/AtomicFile.h"

namespace tavo {

struct RomImage;
class UserPrompts;

// The whole file text.
std::string formatTableFile(const RomImage& rom);

// What the file would hold, without regard to the order of the entries: the
// ROM information lines, then the entry lines sorted. Two records of the same
// form store the same definitions; the Quick Viewer's sorting changes nothing.
std::string definitionsForm(const RomImage& rom);

// The definitions or ROM information differ from what the .tbl file held
// when it was last read or written: an unsaved change. Never before a .tbl
// path was chosen.
bool definitionsUnsaved(const RomImage& rom);

// Replaces the file at the record's tblPath through the safe save and
// remembers what it stored (storedDefinitions); on failure the previous file
// is untouched and the status says why.
FileStatus writeTableFile(RomImage& rom);

// writeTableFile, telling the user when the file could not be written, and why.
bool storeTableFile(RomImage& rom, UserPrompts& prompts);

}  // namespace tavo
