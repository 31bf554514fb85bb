#include "tables/TableInformationForm.h"

#include "common/TextFormat.h"

namespace tavo {

namespace {

std::string takeBackText(std::string_view text, std::size_t most)
{
    return std::string(text.substr(0, most));
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
    texts.address = hexLower(static_cast<std::uint32_t>(def.offset), 4, '0');
    texts.xLabel = def.xLabel;
    texts.xMin = def.xMin;
    texts.xMax = def.xMax;
    texts.xUnits = def.xUnits;
    texts.yLabel = def.yLabel;
    texts.yMin = def.yMin;
    texts.yMax = def.yMax;
    texts.yUnits = def.yUnits;
    texts.chryslerName = def.chryslerName;
    texts.description = def.description;
    if (isKnownType(def.type))
        texts.type = def.type;
    return texts;
}

void applyTableInformation(TableDef& def, const TableInformationTexts& texts)
{
    if (const auto address = parseHexPrefix(texts.address, 4))
        def.offset = static_cast<std::int32_t>(*address);
    def.name = takeBackText(texts.title, takeBack::title);
    def.xLabel = takeBackText(texts.xLabel, takeBack::label);
    def.xMin = takeBackText(texts.xMin, takeBack::scale);
    def.xMax = takeBackText(texts.xMax, takeBack::scale);
    def.xUnits = takeBackText(texts.xUnits, takeBack::units);
    def.yLabel = takeBackText(texts.yLabel, takeBack::label);
    def.yMin = takeBackText(texts.yMin, takeBack::scale);
    def.yMax = takeBackText(texts.yMax, takeBack::scale);
    def.yUnits = takeBackText(texts.yUnits, takeBack::units);
    def.chryslerName = takeBackText(texts.chryslerName, takeBack::chryslerName);
    def.description = takeBackText(lineFeedsOnly(texts.description), takeBack::description);
    if (texts.type && isKnownType(*texts.type))
        def.type = *texts.type;
    def.moveable = false;
}

}  // namespace tavo
