#pragma once
// Writes the ROM information and every definition of a RomImage as a .tbl
// file, CR LF line ends, in the form the reader takes back.

#include <string>

namespace tavo {

struct RomImage;
class UserPrompts;

// The whole file text.
std::string formatTableFile(const RomImage& rom);

// Replaces the file at the record's tblPath; false when it could not be written
// (the previous file is then untouched).
bool writeTableFile(const RomImage& rom);

// writeTableFile, telling the user when the file could not be written.
bool storeTableFile(const RomImage& rom, UserPrompts& prompts);

}  // namespace tavo
