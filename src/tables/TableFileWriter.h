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

// Replaces the file at the record's tblPath through the safe save; on failure
// the previous file is untouched and the status says why.
FileStatus writeTableFile(const RomImage& rom);

// writeTableFile, telling the user when the file could not be written, and why.
bool storeTableFile(const RomImage& rom, UserPrompts& prompts);

}  // namespace tavo
