#pragma once
// Where the rows of each kind of item lie in the image, and the slope bytes.
// Every access is bounded by the 64 KiB space: bytes beyond 0xFFFF read as
// absent and are never written, whatever a count byte or end mark says.

#include <cstdint>
#include <optional>

#include "tables/TableDef.h"

namespace tavo {

// The byte at an address, or nothing outside 0x0000..0xFFFF.
std::optional<std::uint8_t> byteAt(const ImageBuffer& image, long address);
// Writes the byte when the address lies in the space; false otherwise.
bool setByteAt(ImageBuffer& image, long address, std::uint8_t value);

long normalRowAddress(int offset, int row);    // count byte first, 4 bytes a row
long fiveByteRowAddress(int offset, int row);  // 5 bytes a row

// How many of the first `rows` rows have their point bytes (x and y, or x and
// Y) inside the space; a FiveByte row counts only when all five bytes fit.
int rowsInSpace(TableType type, int offset, int rows);

// The row count of a FiveByte table: the least k >= 1 whose row starts with
// 0xFF; a table without an end row before 0xFFFF has the rows that fit.
int countFiveByteRows(const ImageBuffer& image, int offset);

struct TablePoint {
    int x = 0;
    int y = 0;  // unsigned y (Normal), signed y (Signed) or 16-bit Y (FiveByte)
    std::uint8_t slopeHigh = 0;
    std::uint8_t slopeLow = 0;
};

// A row as it stands in the image; bytes beyond the space read as 0.
TablePoint readPoint(const ImageBuffer& image, TableType type, int offset, int row);

// Writes x and y (or Y, big-endian) of a row, leaving its slope alone.
void writePoint(ImageBuffer& image, TableType type, int offset, int row, int x, int y);
void writeSlope(ImageBuffer& image, TableType type, int offset, int row, std::uint8_t high,
                std::uint8_t low);

// The slope as the tabular view decodes it: h + l/256 for h <= 0x80,
// (h - 256) + l/256 above.
float decodeSlope(std::uint8_t high, std::uint8_t low);
// The two slope bytes read as one signed 16-bit number (the shape test's view).
std::int16_t slopeAsSigned16(std::uint8_t high, std::uint8_t low);

struct SlopeBytes {
    std::uint8_t high = 0;
    std::uint8_t low = 0;
    bool operator==(const SlopeBytes&) const = default;
};

// Encodes a recomputed slope: integer part and 1/256 fraction, each
// truncated toward zero and cut to 8 bits. Normal and Signed tables store
// 0xFF as the integer byte of a negative slope whose byte came out 0.
SlopeBytes encodeSlope(float slope, TableType type);

// The slope of the segment (x0, y0)-(x1, y1). Equal x gives no quotient: the
// bytes an infinite or undefined quotient has always produced are stored,
// 0x00 0x00, or 0xFF 0x00 for a falling Normal or Signed segment.
SlopeBytes segmentSlope(int x0, int y0, int x1, int y1, TableType type);

// Rewrites every slope of a Normal, Signed or FiveByte table from its points.
void recomputeSlopes(ImageBuffer& image, TableType type, int offset);

}  // namespace tavo
