#include "tables/FieldNameForms.h"

#include "common/TextFormat.h"

namespace tavo {

namespace {

std::string nameOrMarker(const std::string& text, std::string_view marker)
{
    if (text.empty())
        return std::string(marker);
    return cutToWidth(text, width::choiceName);
}

}  // namespace

std::string bitNameLabel(int bit)
{
    return "Bit " + std::to_string(bit) + " (" + hexLower(1U << bit, 2, '0') + ")";
}

BitNameTexts bitNameTexts(const TableDef& def)
{
    return def.bitNames;
}

void applyBitNames(TableDef& def, const BitNameTexts& texts)
{
    for (std::size_t k = 0; k < texts.size(); ++k)
        def.bitNames[k] = nameOrMarker(texts[k], kUnusedBitName);
}

ChoiceTexts choiceTexts(const TableDef& def)
{
    ChoiceTexts texts;
    texts.names = def.valueNames;
    for (std::size_t k = 0; k < texts.values.size(); ++k)
        texts.values[k] = hexLower(static_cast<std::uint32_t>(def.values[k]), 2, '0');
    return texts;
}

void applyChoices(TableDef& def, const ChoiceTexts& texts)
{
    for (std::size_t k = 0; k < texts.names.size(); ++k)
        def.valueNames[k] = nameOrMarker(texts.names[k], kUnusedChoiceName);
    const ChoiceTexts shown = choiceTexts(def);
    for (std::size_t k = 0; k < texts.values.size(); ++k) {
        // A value left as shown stays whole: four digits would cut a wider one.
        if (texts.values[k] == shown.values[k])
            continue;
        if (const auto value = parseHexPrefix(texts.values[k], 4))
            def.values[k] = static_cast<std::int32_t>(*value);
    }
}

}  // namespace tavo
