#pragma once
// One ROM image: its bytes laid out at their module addresses, the ROM
// information recorded about the calibration, its table definitions and the
// paths of the image file and of its .tbl definition file.

#include <cstdint>
#include <string>
#include <vector>

#include "tables/TableDef.h"

namespace tavo {

// Text widths of the ROM information; a field holds at most width - 1 characters.
namespace width {
constexpr std::size_t romText = 256;      // description, author
constexpr std::size_t dcalText = 128;     // checksum name, D-Cal version
constexpr std::size_t path = 260;
}  // namespace width

// MAP sensor range codes (note the order: 3 is 2.5 bar).
constexpr std::int32_t kMap2Bar = 1;
constexpr std::int32_t kMap3Bar = 2;
constexpr std::int32_t kMap25Bar = 3;

struct RomImageFields {
    std::int32_t loadOffset = 0;
    std::string description;
    std::string author;
    std::string checksumName;
    std::uint32_t checksumA = 0;
    std::uint32_t checksumB = 0;
    std::uint32_t crc32 = 0;
    std::string dcalVersion;
    std::int32_t entryCount = 0;
    std::int32_t mapRange = 0;
    float injectors = 0.0F;
    float boost = 0.0F;
    // Always kTableCapacity slots; entries 0 to entryCount - 1 are in use and
    // the slots above keep what they last held.
    std::vector<TableDef> tables = std::vector<TableDef>(kTableCapacity);
    std::string romPath;
    std::string tblPath;
    // The ROM information and definitions as the .tbl file at tblPath was
    // last read or written, in the order-free form of definitionsForm
    // (tables/TableFileWriter.h); empty before either.
    std::string storedDefinitions;
    bool loaded = false;
    std::int32_t imageSize = 0;
    ImageBuffer image{};
};

// A copy keeps its entries bound to its own image buffer, never to the
// buffer of the record it was copied from.
struct RomImage : RomImageFields {
    RomImage() = default;
    RomImage(const RomImage& other);
    RomImage& operator=(const RomImage& other);
};

// Sets image, index and row count of every entry in use from the image.
void bindTables(RomImage& rom);

// The row count of an entry as read from the image bytes.
int rowCountOf(const ImageBuffer& image, const TableDef& def);

}  // namespace tavo
