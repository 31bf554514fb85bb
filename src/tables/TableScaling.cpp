#include "tables/TableScaling.h"

#include <cmath>
#include <limits>

#include "common/TextFormat.h"
#include "tables/TableCells.h"

namespace tavo {

namespace {

// The low bits of trunc(value) modulo `modulus`, for every float: a finite
// value keeps the low bits of its integer part, whatever its size; an
// infinite one gives 0, as the integer-indefinite result always did.
std::uint32_t truncatedLowBits(float value, double modulus)
{
    if (!std::isfinite(value))
        return 0;
    double rest = std::fmod(std::trunc(static_cast<double>(value)), modulus);
    if (rest < 0.0)
        rest += modulus;
    return static_cast<std::uint32_t>(rest);
}

void scaleCountedRows(ImageBuffer& image, TableType type, int offset, float fx, float fy)
{
    const auto countByte = byteAt(image, offset);
    if (!countByte)
        return;
    const int rows = rowsInSpace(type, offset, *countByte);
    for (int i = 0; i < rows; ++i) {
        const long at = normalRowAddress(offset, i);
        const int x = byteAt(image, at).value_or(0);
        const int y = byteAt(image, at + 1).value_or(0);
        std::uint8_t newY = 0;
        if (type == TableType::Signed && y >= 0x80) {
            // A negative y is scaled by its magnitude, taken back from 256.
            const int magnitude = 256 - y;
            newY = scaledByte(256.0F - static_cast<float>(magnitude) * fy);
        } else {
            newY = scaledByte(static_cast<float>(y) * fy);
        }
        setByteAt(image, at, scaledByte(static_cast<float>(x) * fx));
        setByteAt(image, at + 1, newY);
    }
    recomputeSlopes(image, type, offset);
}

void scaleFiveByteRows(ImageBuffer& image, int offset, float fx, float fy)
{
    // Every row before the end row found now is scaled; the slope pass then
    // sees the new x bytes, so a row scaled up to 0xFF ends the table.
    const int fit = rowsInSpace(TableType::FiveByte, offset, std::numeric_limits<int>::max());
    for (int i = 0; i < fit; ++i) {
        const TablePoint point = readPoint(image, TableType::FiveByte, offset, i);
        if (point.x == 0xFF)
            break;
        const std::uint8_t x = scaledByte(static_cast<float>(point.x) * fx);
        const auto y = static_cast<int>(truncatedLowBits(static_cast<float>(point.y) * fy, 65536.0));
        writePoint(image, TableType::FiveByte, offset, i, x, y);
    }
    recomputeSlopes(image, TableType::FiveByte, offset);
}

}  // namespace

bool isUsablePercentage(float percent)
{
    return std::isfinite(percent) && percent >= 0.0F;
}

std::string percentageText(float percent)
{
    return formatFixed(percent, 6);
}

std::optional<float> parsePercentage(std::string_view text)
{
    const auto value = parseFloatPrefix(text.substr(0, kPercentageTextLimit));
    if (!value || !isUsablePercentage(*value))
        return std::nullopt;
    return value;
}

void takePercentages(ScalePercentages& current, std::string_view xText, std::string_view yText)
{
    if (const auto x = parsePercentage(xText))
        current.x = *x;
    if (const auto y = parsePercentage(yText))
        current.y = *y;
}

std::uint8_t scaledByte(float value)
{
    if (value > 255.0F)
        return 255;
    return static_cast<std::uint8_t>(truncatedLowBits(value, 256.0));
}

bool scaleTable(ImageBuffer& image, const TableDef& def, float xPercent, float yPercent)
{
    if (!isGraphType(def.type) || !isUsablePercentage(xPercent) || !isUsablePercentage(yPercent))
        return false;
    if (def.offset < 0 || def.offset > kLastAddress)
        return false;
    const float fx = xPercent / 100.0F;
    const float fy = yPercent / 100.0F;
    if (def.type == TableType::FiveByte)
        scaleFiveByteRows(image, def.offset, fx, fy);
    else
        scaleCountedRows(image, def.type, def.offset, fx, fy);
    return true;
}

bool scaleTable(TableDef& def, float xPercent, float yPercent)
{
    if (def.image == nullptr)
        return false;
    return scaleTable(*def.image, def, xPercent, yPercent);
}

bool confirmScale(TableDef& def, ScalePercentages& current, std::string_view xText,
                  std::string_view yText)
{
    takePercentages(current, xText, yText);
    return scaleTable(def, current.x, current.y);
}

}  // namespace tavo
