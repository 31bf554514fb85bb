#pragma once
// Small ROM images for the viewer tests: an empty 0x8000 image with entries
// and table bytes placed where a test needs them.

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "rom/RomImage.h"
#include "tables/TableCells.h"

namespace tavo::test {

using Points = std::vector<std::pair<int, int>>;

inline std::unique_ptr<RomImage> blankImage()
{
    auto rom = std::make_unique<RomImage>();
    rom->loadOffset = 0x8000;
    rom->imageSize = 0x8000;
    rom->loaded = true;
    return rom;
}

inline TableDef& addEntry(RomImage& rom, TableType type, int offset, const std::string& name,
                          const std::string& chrysler)
{
    TableDef& def = rom.tables[static_cast<std::size_t>(rom.entryCount++)];
    def.type = type;
    def.offset = offset;
    def.name = name;
    def.chryslerName = chrysler;
    def.axes.xMin = "0";
    def.axes.xMax = "256";
    def.axes.yMin = "0";
    def.axes.yMax = "256";
    bindTables(rom);
    return def;
}

// A Normal or Signed table: count byte, then the points; slopes recomputed.
inline void putNormalTable(ImageBuffer& image, TableType type, int offset, const Points& points)
{
    setByteAt(image, offset, static_cast<std::uint8_t>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        writePoint(image, type, offset, static_cast<int>(i), points[i].first, points[i].second);
    recomputeSlopes(image, type, offset);
}

// A FiveByte table ended by an x of 0xFF; slopes recomputed.
inline void putFiveByteTable(ImageBuffer& image, int offset, const Points& points)
{
    for (std::size_t i = 0; i < points.size(); ++i)
        writePoint(image, TableType::FiveByte, offset, static_cast<int>(i), points[i].first, points[i].second);
    setByteAt(image, fiveByteRowAddress(offset, static_cast<int>(points.size())), 0xFF);
    recomputeSlopes(image, TableType::FiveByte, offset);
}

}  // namespace tavo::test
