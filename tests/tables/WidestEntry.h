#pragma once
// A definition whose every text field is as long as its width allows, made of
// every byte a definition file can bring in (spaces and line feeds included),
// with choice values that need all eight hexadecimal digits.

#include <string>

#include "common/TextFormat.h"
#include "tables/TableDef.h"

namespace tavo::test {

// width - 1 bytes from 0x01 to 0xFF, starting at `seed`. A token holds no
// white space; a decoded text field has spaces for "_" and line feeds for 0xA6.
inline std::string widestText(std::size_t width, int seed, bool decoded = true)
{
    std::string text;
    for (int i = seed; text.size() + 1 < width; ++i) {
        char c = static_cast<char>(1 + i % 255);
        if (isCSpace(c))
            continue;
        if (decoded && c == '_')
            c = ' ';
        else if (decoded && c == static_cast<char>(0xA6))
            c = '\n';
        text += c;
    }
    return text;
}

inline TableDef widestEntry(TableType type)
{
    TableDef def;
    def.offset = 0xFFFF;
    def.type = type;
    def.moveable = true;
    def.name = widestText(width::name, 0);
    int seed = 1;
    for (const AxisField& field : kAxisFields)
        def.axes.*field.member = widestText(field.width, seed++ * 31);
    def.chryslerName = widestText(width::chryslerName, 40, false);
    def.description = widestText(width::description, 50);
    for (std::size_t k = 0; k < 8; ++k) {
        def.bitNames[k] = widestText(width::choiceName, 60 + static_cast<int>(k));
        def.valueNames[k] = widestText(width::choiceName, 70 + static_cast<int>(k));
        def.values[k] = static_cast<std::int32_t>(0xFFFFFFFFU - k * 0x11111111U);
    }
    return def;
}

}  // namespace tavo::test
