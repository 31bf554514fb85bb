#include "link/SerialPortForm.h"

namespace tavo {

namespace {

std::array<bool, 4> radiosFor(int value)
{
    std::array<bool, 4> radios{};
    if (value >= 1 && value <= 4)
        radios[static_cast<std::size_t>(value - 1)] = true;
    return radios;
}

void takeLastChecked(std::int32_t& field, const std::array<bool, 4>& radios)
{
    for (std::size_t i = 0; i < radios.size(); ++i)
        if (radios[i])
            field = static_cast<std::int32_t>(i + 1);
}

}  // namespace

SerialPortChoices choicesFor(const SerialSettings& settings)
{
    return {radiosFor(settings.port), radiosFor(settings.lowSpeed), radiosFor(settings.highSpeed)};
}

void applyChoices(SerialSettings& settings, const SerialPortChoices& choices)
{
    takeLastChecked(settings.port, choices.port);
    takeLastChecked(settings.lowSpeed, choices.lowSpeed);
    takeLastChecked(settings.highSpeed, choices.highSpeed);
}

}  // namespace tavo
