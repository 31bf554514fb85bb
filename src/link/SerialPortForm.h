#pragma once
// The Serial Port dialog's rules: three groups of four radios, one per field
// of SerialSettings, values 1 to 4 in button order.

#include <array>

#include "link/SerialSettings.h"

namespace tavo {

struct SerialPortChoices {
    std::array<bool, 4> port{};
    std::array<bool, 4> lowSpeed{};
    std::array<bool, 4> highSpeed{};
};

// On opening: in each group the radio whose value equals the field; a field
// outside 1 to 4 leaves its whole group unchecked.
SerialPortChoices choicesFor(const SerialSettings& settings);

// On OK: each field takes the value of the last checked radio of its group;
// a group with none checked keeps its field.
void applyChoices(SerialSettings& settings, const SerialPortChoices& choices);

}  // namespace tavo
