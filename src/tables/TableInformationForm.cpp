#include "tables/TableInformationForm.h"

#include "common/TextFormat.h"

namespace tavo {

namespace {

// A text left as it was shown keeps the field as it is; an edited one is cut
// to the field's width.
void takeBack(std::string& field, const std::string& text, std::size_t fieldWidth)
{
    if (text != field)
        field = cutToWidth(text, fieldWidth);
}

std::string addressText(const TableDef& def)
{
    return hexLower(static_cast<std::uint32_t>(def.offset), 4, '0');
}

// A carriage return would split the field in the definition file, whose
// token encoding carries line feeds only; CR LF and a lone CR become LF.
std::string lineFeedsOnly(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out.push_back(text[i]);
        } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
            out.push_back('\n');
        }
    }
    return out;
}

bool isKnownType(TableType type)
{
    const auto value = static_cast<int>(type);
    return value >= 0 && value < kTableTypeCount;
}

}  // namespace

std::string_view typeButtonLabel(TableType type)
{
    switch (type) {
    case TableType::Normal: return "Normal (x, y, slope)";
    case TableType::FiveByte: return "5-Byte (x, Y, slope)";
    case TableType::Signed: return "Normal signed (x, -y, slope)";
    case TableType::Const8: return "8-bit constant";
    case TableType::Const16: return "16-bit constant";
    case TableType::Flags8: return "8-bit Flags";
    case TableType::Value8: return "8-bit Value";
    }
    return "";
}

TableInformationTexts tableInformationTexts(const TableDef& def)
{
    TableInformationTexts texts;
    texts.title = def.name;
    texts.address = addressText(def);
    texts.axes = def.axes;
    texts.chryslerName = def.chryslerName;
    texts.description = def.description;
    if (isKnownType(def.type))
        texts.type = def.type;
    return texts;
}

void applyTableInformation(TableDef& def, const TableInformationTexts& texts)
{
    if (texts.address != addressText(def)) {
        if (const auto address = parseHexPrefix(texts.address, 4))
            def.offset = static_cast<std::int32_t>(*address);
    }
    takeBack(def.name, texts.title, width::name);
    for (const AxisField& field : kAxisFields)
        takeBack(def.axes.*field.member, texts.axes.*field.member, field.width);
    takeBack(def.chryslerName, texts.chryslerName, width::chryslerName);
    if (texts.description != def.description)
        def.description = cutToWidth(lineFeedsOnly(texts.description), width::description);
    if (texts.type && isKnownType(*texts.type))
        def.type = *texts.type;
}

}  // namespace tavo
