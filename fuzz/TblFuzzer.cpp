// The .tbl reader: any bytes as a definition file. What it reads keeps the
// record's limits, and written back and read again it gives the same
// definitions and ROM information, written the same way.
#include <string>

#include "FuzzSupport.h"
#include "rom/RomImage.h"
#include "tables/TableFileReader.h"
#include "tables/TableFileWriter.h"

using namespace tavo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static RomImage record;
    static RomImage reread;
    RomImage* const rom = &record;
    fuzz::resetRecord(record);
    fuzz::resetRecord(reread);
    const TableReadResult read = readTableText(*rom, fuzz::bytesOf(data, size));
    FUZZ_CHECK(read.fileFound && !read.refused);
    FUZZ_CHECK(rom->entryCount >= 0 && rom->entryCount <= kTableCapacity);
    FUZZ_CHECK(read.entriesDropped == 0 || rom->entryCount == kTableCapacity);
    FUZZ_CHECK(rom->description.size() < width::romText && rom->author.size() < width::romText);
    FUZZ_CHECK(rom->dcalVersion.size() < width::dcalText && rom->checksumName.size() < width::dcalText);
    for (int i = 0; i < rom->entryCount; ++i) {
        const TableDef& def = rom->tables[static_cast<std::size_t>(i)];
        FUZZ_CHECK(def.offset >= 0 && def.offset <= kLastAddress);
        FUZZ_CHECK(static_cast<int>(def.type) >= 0 && static_cast<int>(def.type) < kTableTypeCount);
        FUZZ_CHECK(def.name.size() < width::name && def.description.size() < width::description);
        FUZZ_CHECK(def.chryslerName.size() < width::chryslerName);
        for (const AxisField& axis : kAxisFields)
            FUZZ_CHECK((def.axes.*axis.member).size() < axis.width);
        for (std::size_t k = 0; k < 8; ++k)
            FUZZ_CHECK(def.bitNames[k].size() < width::choiceName && def.valueNames[k].size() < width::choiceName);
    }

    // Save Table Data, then open the image again.
    const std::string written = formatTableFile(*rom);
    RomImage* const again = &reread;
    FUZZ_CHECK(readTableText(*again, written).entriesDropped == 0);
    FUZZ_CHECK(again->entryCount == rom->entryCount);
    FUZZ_CHECK(definitionsForm(*again) == definitionsForm(*rom));
    FUZZ_CHECK(formatTableFile(*again) == written);
    return 0;
}
