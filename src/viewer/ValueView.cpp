#include "viewer/ValueView.h"

#include <cstddef>
#include <cstdint>

#include "common/TextFormat.h"
#include "tables/TableCells.h"

namespace tavo {

namespace {

constexpr std::size_t kFieldCharacters = 7;
constexpr int kFieldDigits = 4;

std::uint8_t byteOf(const ImageBuffer& image, const TableDef& def)
{
    return byteAt(image, def.offset).value_or(0);
}

}  // namespace

std::uint32_t constantValue(const ImageBuffer& image, const TableDef& def)
{
    std::uint32_t value = byteOf(image, def);
    if (def.type == TableType::Const16)
        value = value * 256 + byteAt(image, static_cast<long>(def.offset) + 1).value_or(0);
    return value;
}

std::string constantText(const ImageBuffer& image, const TableDef& def)
{
    return hexLower(constantValue(image, def));
}

bool writeConstantText(ImageBuffer& image, const TableDef& def, std::string_view text)
{
    if (def.type != TableType::Const8 && def.type != TableType::Const16)
        return false;
    const auto value = parseHexPrefix(text.substr(0, kFieldCharacters), kFieldDigits);
    if (!value)
        return false;
    if (def.type == TableType::Const8)
        return setByteAt(image, def.offset, static_cast<std::uint8_t>(*value & 0xFF));
    const bool high = setByteAt(image, def.offset, static_cast<std::uint8_t>((*value >> 8) & 0xFF));
    const bool low = setByteAt(image, static_cast<long>(def.offset) + 1, static_cast<std::uint8_t>(*value & 0xFF));
    return high || low;
}

std::array<ChoiceControl, 8> choiceButtons(const ImageBuffer& image, const TableDef& def)
{
    const std::uint8_t byte = byteOf(image, def);
    std::array<ChoiceControl, 8> buttons;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (def.valueNames[i] == kUnusedChoiceName)
            continue;
        buttons[i].visible = true;
        buttons[i].label = def.valueNames[i] + " (" + hexLower(static_cast<std::uint32_t>(def.values[i]), 2, ' ') + ")";
        buttons[i].checked = static_cast<std::int32_t>(byte) == def.values[i];
    }
    return buttons;
}

void writeChoice(ImageBuffer& image, const TableDef& def, int choice)
{
    if (choice < 0 || choice >= 8)
        return;
    setByteAt(image, def.offset, static_cast<std::uint8_t>(def.values[static_cast<std::size_t>(choice)] & 0xFF));
}

std::array<ChoiceControl, 8> flagBoxes(const ImageBuffer& image, const TableDef& def)
{
    const std::uint8_t byte = byteOf(image, def);
    std::array<ChoiceControl, 8> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (def.bitNames[i] == kUnusedBitName)
            continue;
        boxes[i].visible = true;
        boxes[i].label = def.bitNames[i];
        boxes[i].checked = (byte >> i & 1U) != 0;
    }
    return boxes;
}

void writeFlag(ImageBuffer& image, const TableDef& def, int bit, bool set)
{
    if (bit < 0 || bit >= 8)
        return;
    const auto mask = static_cast<std::uint8_t>(1U << bit);
    const std::uint8_t byte = byteOf(image, def);
    setByteAt(image, def.offset, static_cast<std::uint8_t>(set ? byte | mask : byte & ~mask));
}

}  // namespace tavo
