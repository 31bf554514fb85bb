#pragma once
// The prompts of the image model: the general ones, and the "ROM Information"
// step that a new image goes through before its bytes are placed (its load
// offset comes from there) and that "Edit ROM Information..." runs.

#include "common/UserPrompts.h"

namespace tavo {

struct RomImage;

class RomPrompts : public UserPrompts {
public:
    // Runs the "ROM Information" dialog on the record; true when it was
    // confirmed with OK (the record and its definition file are then updated).
    virtual bool runRomInformation(RomImage& record) = 0;
};

}  // namespace tavo
