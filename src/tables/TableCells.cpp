#include "tables/TableCells.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tavo {

std::optional<std::uint8_t> byteAt(const ImageBuffer& image, long address)
{
    if (address < 0 || address > kLastAddress)
        return std::nullopt;
    return image[static_cast<std::size_t>(address)];
}

bool setByteAt(ImageBuffer& image, long address, std::uint8_t value)
{
    if (address < 0 || address > kLastAddress)
        return false;
    image[static_cast<std::size_t>(address)] = value;
    return true;
}

long normalRowAddress(int offset, int row)
{
    return static_cast<long>(offset) + 1 + 4L * row;
}

long fiveByteRowAddress(int offset, int row)
{
    return static_cast<long>(offset) + 5L * row;
}

int rowsInSpace(TableType type, int offset, int rows)
{
    if (rows <= 0 || offset < 0 || offset > kLastAddress)
        return 0;
    long fit = 0;
    if (type == TableType::FiveByte) {
        fit = (static_cast<long>(kAddressSpace) - offset) / 5;
    } else {
        // x and y of row i lie at offset + 1 + 4i and the byte after it.
        const long lastY = static_cast<long>(kLastAddress) - offset - 2;
        fit = lastY < 0 ? 0 : lastY / 4 + 1;
    }
    return static_cast<int>(std::min<long>(rows, fit));
}

int countFiveByteRows(const ImageBuffer& image, int offset)
{
    const int fit = rowsInSpace(TableType::FiveByte, offset, std::numeric_limits<int>::max());
    for (int k = 1;; ++k) {
        const auto x = byteAt(image, fiveByteRowAddress(offset, k));
        if (!x)
            return fit;
        if (*x == 0xFF)
            return std::min(k, fit);
    }
}

TablePoint readPoint(const ImageBuffer& image, TableType type, int offset, int row)
{
    auto at = [&](long address) { return byteAt(image, address).value_or(0); };
    TablePoint point;
    if (type == TableType::FiveByte) {
        const long base = fiveByteRowAddress(offset, row);
        point.x = at(base);
        point.y = at(base + 1) * 256 + at(base + 2);
        point.slopeHigh = at(base + 3);
        point.slopeLow = at(base + 4);
        return point;
    }
    const long base = normalRowAddress(offset, row);
    point.x = at(base);
    const std::uint8_t y = at(base + 1);
    point.y = type == TableType::Signed ? static_cast<std::int8_t>(y) : y;
    point.slopeHigh = at(base + 2);
    point.slopeLow = at(base + 3);
    return point;
}

void writePoint(ImageBuffer& image, TableType type, int offset, int row, int x, int y)
{
    if (type == TableType::FiveByte) {
        const long base = fiveByteRowAddress(offset, row);
        setByteAt(image, base, static_cast<std::uint8_t>(x));
        setByteAt(image, base + 1, static_cast<std::uint8_t>((y >> 8) & 0xFF));
        setByteAt(image, base + 2, static_cast<std::uint8_t>(y & 0xFF));
        return;
    }
    const long base = normalRowAddress(offset, row);
    setByteAt(image, base, static_cast<std::uint8_t>(x));
    setByteAt(image, base + 1, static_cast<std::uint8_t>(y & 0xFF));
}

void writeSlope(ImageBuffer& image, TableType type, int offset, int row, std::uint8_t high,
                std::uint8_t low)
{
    const long base = type == TableType::FiveByte ? fiveByteRowAddress(offset, row) + 3
                                                  : normalRowAddress(offset, row) + 2;
    setByteAt(image, base, high);
    setByteAt(image, base + 1, low);
}

float decodeSlope(std::uint8_t high, std::uint8_t low)
{
    const int whole = high <= 0x80 ? high : high - 256;
    return static_cast<float>(whole) + static_cast<float>(low) / 256.0F;
}

std::int16_t slopeAsSigned16(std::uint8_t high, std::uint8_t low)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
}

namespace {

// Float to integer truncation as the 6803 tools always did it on x86: values
// that do not fit (infinities, NaN) become the "integer indefinite" value,
// whose low 8 bits are 0.
std::int32_t truncateToInt(float value)
{
    if (!std::isfinite(value) || value >= 2147483648.0F || value < -2147483648.0F)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace

SlopeBytes encodeSlope(float slope, TableType type)
{
    const std::int32_t whole = truncateToInt(slope);
    const float fraction = (slope - static_cast<float>(whole)) * 256.0F;
    SlopeBytes bytes;
    bytes.high = static_cast<std::uint8_t>(whole & 0xFF);
    bytes.low = static_cast<std::uint8_t>(truncateToInt(fraction) & 0xFF);
    if (!std::isfinite(slope))
        bytes.low = 0;
    if (type != TableType::FiveByte && slope < 0.0F && bytes.high == 0)
        bytes.high = 0xFF;
    return bytes;
}

SlopeBytes segmentSlope(int x0, int y0, int x1, int y1, TableType type)
{
    const float rise = static_cast<float>(y1 - y0);
    const float run = static_cast<float>(x1 - x0);
    if (run == 0.0F) {
        if (rise < 0.0F && type != TableType::FiveByte)
            return {0xFF, 0x00};
        return {0x00, 0x00};
    }
    return encodeSlope(rise / run, type);
}

void recomputeSlopes(ImageBuffer& image, TableType type, int offset)
{
    if (type == TableType::Normal || type == TableType::Signed) {
        const auto countByte = byteAt(image, offset);
        if (!countByte)
            return;
        const int rows = rowsInSpace(type, offset, *countByte);
        for (int i = 0; i + 1 < rows; ++i) {
            const TablePoint a = readPoint(image, type, offset, i);
            const TablePoint b = readPoint(image, type, offset, i + 1);
            const SlopeBytes s = segmentSlope(a.x, a.y, b.x, b.y, type);
            writeSlope(image, type, offset, i, s.high, s.low);
        }
        return;
    }
    if (type != TableType::FiveByte)
        return;
    const int fit = rowsInSpace(type, offset, std::numeric_limits<int>::max());
    for (int i = 0; i + 1 < fit; ++i) {
        const TablePoint b = readPoint(image, type, offset, i + 1);
        if (b.x == 0xFF)
            break;
        const TablePoint a = readPoint(image, type, offset, i);
        const SlopeBytes s = segmentSlope(a.x, a.y, b.x, b.y, type);
        writeSlope(image, type, offset, i, s.high, s.low);
    }
}

}  // namespace tavo
