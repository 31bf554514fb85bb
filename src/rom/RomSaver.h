#pragma once
// Writing the working image back as a raw image file of the size it was
// loaded with: "Save ROM Image" and "Save ROM Image As...".

#include <string>
#include <string_view>

namespace tavo {

struct RomImage;
class UserPrompts;

struct SaveAsPaths {
    std::string romPath;
    std::string tblPath;
};

// The image and definition paths for a name chosen in "Save Rom Image As...":
// a name with an extension is kept as it is, one without gets ".bin".
SaveAsPaths saveAsPathsFor(std::string_view chosen);

// The image file's bytes: imageSize bytes from the load offset.
std::string imageFileBytes(const RomImage& rom);

// Writes the image to romPath and says "ROM Image Saved."; a failure is
// reported instead. Does nothing (false) before an image was loaded.
bool saveRomImage(RomImage& rom, UserPrompts& prompts);

// Asks for a new name, writes the definition file and the image there and
// takes the new paths. Cancelled or failed: the paths stay as they were.
bool saveRomImageAs(RomImage& rom, UserPrompts& prompts);

}  // namespace tavo
