#pragma once
// The texts the user sees when an image file is refused or saved.

namespace tavo {

inline constexpr const char* kUnableToOpenRom = "Unable to open the ROM image file.\n";
inline constexpr const char* kRomTooLarge = "This file is too large to be a ROM image.\nIt will not be loaded.";
inline constexpr const char* kRomLocationWrong =
    "The ROM loading location is wrong for this file.\nIt will not be loaded.";
inline constexpr const char* kRomSaved = "ROM Image Saved.";
inline constexpr const char* kRomNotSaved = "Unable to save the ROM image file:\n";

}  // namespace tavo
