// The .tbl reader: any bytes as a definition file (now and then repeated
// past the record's capacity). What it reads keeps the record's limits, and
// written back and read again it gives the same definitions and ROM
// information, written the same way.
#include <algorithm>
#include <string>

#include "FuzzSupport.h"
#include "rom/RomImage.h"
#include "tables/TableFileReader.h"
#include "tables/TableFileWriter.h"

using namespace tavo;

namespace {

// A .tbl past the record's capacity is long, and a fuzzer mutates short
// inputs far faster (scripts/fuzz.sh caps their length). So an input whose
// last byte is 71 modulo 128 (one in 128, and not the zero that mutations
// leave at the end so often) is read with its lines after the third
// repeated until they are more than the record holds (or 16 KiB long).
std::string_view textOf(std::string_view input)
{
    if (input.empty() || static_cast<unsigned char>(input.back()) % 128 != 71)
        return input;
    std::size_t bodyStart = 0;
    for (int line = 0; line < 3; ++line) {
        const std::size_t end = input.find('\n', bodyStart);
        if (end == std::string_view::npos || end + 1 == input.size())
            return input;
        bodyStart = end + 1;
    }
    const std::string_view body = input.substr(bodyStart);
    const std::size_t bodyLines = static_cast<std::size_t>(std::count(body.begin(), body.end(), '\n')) + 1;
    static std::string text;
    text.assign(input);
    for (std::size_t lines = bodyLines; lines <= static_cast<std::size_t>(kTableCapacity) + 8 && text.size() < 16 * 1024; lines += bodyLines) {
        text += '\n';
        text += body;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static RomImage record;
    static RomImage reread;
    RomImage* const rom = &record;
    const fuzz::ResetOnExit done(record);
    const fuzz::ResetOnExit rereadDone(reread);
    const std::string_view input = fuzz::bytesOf(data, size);
    const std::string_view text = textOf(input);
    const TableReadResult read = readTableText(*rom, text);
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

    // A record filled to its capacity takes the round trip in the replay
    // only: written whole and read again it costs as much as a great many
    // short inputs, and once a fuzzer has found such an input it asks for
    // more of them far more often than one in 128.
    if (text.data() != input.data() && !fuzz::kReplaying)
        return 0;

    // Save Table Data, then open the image again.
    const std::string written = formatTableFile(*rom);
    RomImage* const again = &reread;
    FUZZ_CHECK(readTableText(*again, written).entriesDropped == 0);
    FUZZ_CHECK(again->entryCount == rom->entryCount);
    FUZZ_CHECK(definitionsForm(*again) == definitionsForm(*rom));
    FUZZ_CHECK(formatTableFile(*again) == written);
    return 0;
}
