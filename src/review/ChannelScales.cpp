#include "review/ChannelScales.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/TextFormat.h"

namespace tavo {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isCSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isCSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> numberOf(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// UTF-8 characters: every byte that does not continue a sequence.
std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

double scaledValue(int raw, const ChannelScale& scale)
{
    return raw * scale.factor + scale.offset;
}

std::string scaledText(int raw, const ChannelScale& scale)
{
    return valueText(scaledValue(raw, scale), scale.unit);
}

std::string valueText(double value, std::string_view unit)
{
    std::string text = formatFixed(value, 3);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    if (text == "-0")
        text = "0";
    return unit.empty() ? text : text + " " + std::string(unit);
}

std::string scaleNumberText(double number)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", number);
    std::string shown = text;
    for (char& c : shown)
        if (c == ',')
            c = '.';  // a decimal-comma locale must not leak in
    return shown;
}

ScaleEntry parseScaleEntry(std::string_view factorText, std::string_view offsetText, std::string_view unitText)
{
    factorText = trimmed(factorText);
    offsetText = trimmed(offsetText);
    unitText = trimmed(unitText);
    if (factorText.empty() && offsetText.empty() && unitText.empty())
        return {};
    const auto factor = numberOf(factorText);
    if (!factor)
        return {std::nullopt, "The factor is not a number."};
    if (*factor == 0)
        return {std::nullopt, "A factor of 0 would show every row as the same value."};
    const auto offset = offsetText.empty() ? std::optional<double>(0.0) : numberOf(offsetText);
    if (!offset)
        return {std::nullopt, "The offset is not a number."};
    if (characterCount(unitText) > kMostUnitCharacters)
        return {std::nullopt, "The unit is longer than " + std::to_string(kMostUnitCharacters) + " characters."};
    return {ChannelScale{*factor, *offset, std::string(unitText)}, {}};
}

}  // namespace tavo
