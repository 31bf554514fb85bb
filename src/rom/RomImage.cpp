#include "rom/RomImage.h"

#include "tables/TableCells.h"

namespace tavo {

namespace {

void retarget(RomImage& copy, const RomImage& source)
{
    for (TableDef& def : copy.tables)
        if (def.image == &source.image)
            def.image = &copy.image;
}

}  // namespace

RomImage::RomImage(const RomImage& other) : RomImageFields(other)
{
    retarget(*this, other);
}

RomImage& RomImage::operator=(const RomImage& other)
{
    if (this != &other) {
        RomImageFields::operator=(other);
        retarget(*this, other);
    }
    return *this;
}

int rowCountOf(const ImageBuffer& image, const TableDef& def)
{
    switch (def.type) {
    case TableType::Normal:
    case TableType::Signed:
        return byteAt(image, def.offset).value_or(0);
    case TableType::FiveByte:
        return countFiveByteRows(image, def.offset);
    default:
        return 0;
    }
}

void bindTables(RomImage& rom)
{
    for (int i = 0; i < rom.entryCount && i < kTableCapacity; ++i) {
        TableDef& def = rom.tables[static_cast<std::size_t>(i)];
        def.index = i;
        def.image = &rom.image;
        def.count = rowCountOf(rom.image, def);
    }
}

}  // namespace tavo
