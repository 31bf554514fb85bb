// Feeds mangled definition files and images to the reader and the loader.
// Run under the sanitizer build, any read or write outside a buffer fails it.

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "SampleCalibration.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/ShapeTests.h"
#include "tables/TableCells.h"
#include "tables/TableFileReader.h"
#include "tables/TableFileWriter.h"

namespace tavo {
namespace {

std::string mangle(std::string text, std::mt19937& rng)
{
    std::uniform_int_distribution<int> op(0, 6);
    std::uniform_int_distribution<int> byte(0, 255);
    const int edits = 1 + static_cast<int>(rng() % 40);
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const std::size_t at = rng() % text.size();
        switch (op(rng)) {
        case 0: text[at] = static_cast<char>(byte(rng)); break;
        case 1: text.erase(at, rng() % 20); break;
        case 2: text.insert(at, std::string(rng() % 3000, static_cast<char>(byte(rng)))); break;
        case 3: text.insert(at, 1, '\0'); break;
        case 4: text.insert(at, " 12345 ffffffffff zz "); break;
        case 5: text.insert(at, "\r"); break;
        default: text.insert(at, text.substr(rng() % text.size(), rng() % 200)); break;
        }
    }
    return text;
}

TEST(MangledInput, the_reader_survives_mangled_definition_files_and_writes_what_it_reads)
{
    auto sample = sample::makeSampleCalibration();
    const std::string original = formatTableFile(*sample);
    std::mt19937 rng(20061950);
    for (int round = 0; round < 400; ++round) {
        auto rom = std::make_unique<RomImage>();
        const std::string text = mangle(original, rng);
        readTableText(*rom, text);
        ASSERT_LE(rom->entryCount, kTableCapacity);
        // Whatever was read is written and read again to the same text.
        const std::string written = formatTableFile(*rom);
        auto again = std::make_unique<RomImage>();
        readTableText(*again, written);
        ASSERT_EQ(formatTableFile(*again), written) << "round " << round;
        for (int i = 0; i < rom->entryCount; ++i) {
            const TableDef& def = rom->tables[static_cast<std::size_t>(i)];
            ASSERT_LE(def.name.size(), 255u);
            ASSERT_LE(def.description.size(), 2047u);
            ASSERT_LE(def.chryslerName.size(), 31u);
            ASSERT_GE(def.offset, 0);
            ASSERT_LE(def.offset, 0xFFFF);
        }
    }
}

TEST(MangledInput, random_bytes_as_a_definition_file_are_harmless)
{
    std::mt19937 rng(42);
    for (int round = 0; round < 200; ++round) {
        std::string text(rng() % 20000, '\0');
        for (char& c : text)
            c = static_cast<char>(rng() % 256);
        auto rom = std::make_unique<RomImage>();
        readTableText(*rom, text);
        ASSERT_LE(rom->entryCount, kTableCapacity);
        formatTableFile(*rom);
    }
}

TEST(MangledInput, random_images_bind_and_shape_test_without_leaving_the_address_space)
{
    std::mt19937 rng(7);
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    for (int round = 0; round < 60; ++round) {
        // Definitions near the top of the space, of every kind.
        std::string tbl = "0\nd\na\n";
        for (int i = 0; i < 40; ++i) {
            char line[64];
            std::snprintf(line, sizeof line, "%x %d n T X Y\n",
                          static_cast<unsigned>(0xFF00 + rng() % 256), static_cast<int>(rng() % 7));
            tbl += line;
        }
        test::writeText(dir.file("r.tbl"), tbl);
        std::vector<std::uint8_t> bytes(rng() % 65537);
        for (auto& b : bytes)
            b = rng() % 4 == 0 ? 0xFF : static_cast<std::uint8_t>(rng());
        test::writeBytes(dir.file("r.bin"), bytes);
        auto rom = std::make_unique<RomImage>();
        ASSERT_EQ(loadRomImageFrom(*rom, dir.file("r.bin"), prompts), LoadOutcome::Loaded);
        for (int i = 0; i < rom->entryCount; ++i) {
            const TableDef& def = rom->tables[static_cast<std::size_t>(i)];
            const int rows = rowsInSpace(def.type, def.offset, def.count);
            for (int r = 0; r < rows; ++r)
                readPoint(rom->image, def.type, def.offset, r);
            if (isGraphType(def.type))
                recomputeSlopes(rom->image, def.type, def.offset);
        }
        for (int address = 0xFF00; address <= 0xFFFF; ++address) {
            testNormalTable(rom->image, address);
            testFiveByteTable(rom->image, address);
        }
    }
}

}  // namespace
}  // namespace tavo
