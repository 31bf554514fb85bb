#pragma once
// The "ROM Information" dialog's logic: the texts it shows for a record, the
// record it makes of the user's texts, and moving an image to a new load
// offset (relocation).

#include <cstdint>
#include <string>

namespace tavo {

struct RomImage;
class UserPrompts;
class RomPrompts;

// What the dialog's fields hold, as text; mapRange is the code of the
// selected MAP button (1: "2 Bar", 3: "2.5 Bar", 2: "3 Bar") or 0 for none.
struct RomInformationForm {
    std::string offset;       // "%04x"
    std::string description;
    std::string author;
    std::string injectors;    // "%2.1f"
    std::string boost;        // "%2.1f"
    std::int32_t mapRange = 0;
};

RomInformationForm romInformationForm(const RomImage& rom);

// Takes the user's texts into the record: the offset (up to four hex digits),
// description and author (cut to their width), injectors and boost. A text
// that does not convert, or that was left as shown, keeps that field's
// previous value; no MAP choice keeps the code.
void applyRomInformationForm(RomImage& rom, const RomInformationForm& form);

// OK of the dialog: apply the form and store the definition file at once.
void acceptRomInformation(RomImage& rom, const RomInformationForm& form, UserPrompts& prompts);

// "Edit ROM Information...": runs the dialog, then offers to move the image
// when its load offset changed. An offset at which the loaded image would no
// longer fit below 0x10000 is refused and the previous one kept.
void editRomInformation(RomImage& rom, RomPrompts& prompts);

// Moves the image from `fromOffset` to the record's (new) load offset: writes
// and re-reads the definitions, then moves the imageSize bytes held in memory
// (edits not yet saved included) and clears the rest of the 64 KiB. The image
// file is not needed.
void relocateImage(RomImage& rom, std::int32_t fromOffset, RomPrompts& prompts);

}  // namespace tavo
