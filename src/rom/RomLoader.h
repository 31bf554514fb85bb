#pragma once
// Loading an image file, with its .tbl definitions, into a RomImage.

#include <string>
#include <string_view>

namespace tavo {

struct RomImage;
class RomPrompts;

enum class LoadOutcome {
    Cancelled,  // the file dialog, or the ROM information step of an image
                // without definitions, was cancelled: nothing changed or written
    Loaded,
    Refused,    // the image file was refused: the record is as it was before
};

// The .tbl path beside an image: the file name's extension replaced (or
// ".tbl" appended when the name has none).
std::string tablePathFor(std::string_view romPath);

// Asks for an image file ("Select Rom Image") and loads it.
LoadOutcome loadRomImage(RomImage& rom, RomPrompts& prompts);

// Loads the given image file: reads the image, reads (or creates) its
// definitions, then places the image at the load offset they give. An image
// file that cannot be opened or is larger than 64 KiB is refused before
// anything is asked; one that does not fit at the offset, and a definition
// file that exists but cannot be read, are refused with a message. The record
// then keeps its paths, definitions, ROM information and bytes, and no new
// definition file is left behind.
LoadOutcome loadRomImageFrom(RomImage& rom, const std::string& path, RomPrompts& prompts);

}  // namespace tavo
