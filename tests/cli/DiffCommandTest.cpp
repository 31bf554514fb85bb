#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rom/RomImage.h"
#include "support/CliRun.h"
#include "support/TempDir.h"
#include "viewer/ImageDiff.h"

namespace tavo {
namespace {

// B: the sample image with a table's y, a constant, bits, a choice and two
// bytes outside every definition changed (at 0x8000 + the file offset).
class CliDiff : public test::CliRun {
protected:
    std::string modified()
    {
        std::vector<std::uint8_t> bytes = test::readBytes(sample());
        auto at = [&](int address) -> std::uint8_t& { return bytes[static_cast<std::size_t>(address - 0x8000)]; };
        at(0x900E) = 140;   // WOTTBL row 3: y 132
        at(0x9140) = 0xC8;  // REVLIM 0xC0
        at(0x9143) = 0x6E;  // OPTFLG 0x2D: bit 0 cleared, bits 1 and 6 set
        at(0x9144) = 0x02;  // TRNTYP: Automatic to Automatic Lockup
        at(0xF000) ^= 0xFF;
        at(0xF001) ^= 0xFF;
        test::writeBytes(dir.file("tuned.bin"), bytes);
        // Its own definitions are not used: they say nothing of these bytes.
        test::writeText(dir.file("tuned.tbl"), "8000\nd\na\n");
        return dir.file("tuned.bin");
    }
};

TEST_F(CliDiff, names_each_changed_definition_with_what_changed_and_the_bytes_outside_them)
{
    const std::string tuned = modified();
    ASSERT_EQ(run({"diff", sample(), tuned, "--json"}), 1) << err;
    EXPECT_EQ(out,
              "{\"definitions\":["
              "{\"index\":0,\"name\":\"WOT Fuel vs RPM\",\"chryslerName\":\"WOTTBL\",\"typeName\":\"Normal\","
              "\"offset\":36864,\"rows\":[{\"row\":3,\"x\":[64,64],\"y\":[132,140]}]},"
              "{\"index\":6,\"name\":\"Rev Limiter\",\"chryslerName\":\"REVLIM\",\"typeName\":\"Const8\","
              "\"offset\":37184,\"value\":[192,200]},"
              "{\"index\":8,\"name\":\"Option Flags\",\"chryslerName\":\"OPTFLG\",\"typeName\":\"Flags8\","
              "\"offset\":37187,\"value\":[45,110],\"bitsSet\":[\"EGR Valve\",\"bit 6\"],"
              "\"bitsCleared\":[\"Knock Sensor\"]},"
              "{\"index\":9,\"name\":\"Transmission Type\",\"chryslerName\":\"TRNTYP\",\"typeName\":\"Value8\","
              "\"offset\":37188,\"value\":[1,2],\"chosen\":[[\"Automatic\"],[\"Automatic Lockup\"]]}],"
              "\"outside\":[[61440,61441]],\"definitionsChanged\":4,\"bytesChanged\":6,"
              "\"sizeA\":32768,\"sizeB\":32768}\n");

    ASSERT_EQ(run({"diff", sample(), tuned}), 1) << err;
    EXPECT_EQ(out,
              "WOTTBL (WOT Fuel vs RPM) at 9000: row 3: x 64, y 132 -> 140\n"
              "REVLIM (Rev Limiter) at 9140: value 0xc0 -> 0xc8 (192 -> 200)\n"
              "OPTFLG (Option Flags) at 9143: value 0x2d -> 0x6e (45 -> 110), set: EGR Valve, bit 6, "
              "cleared: Knock Sensor\n"
              "TRNTYP (Transmission Type) at 9144: value 0x1 -> 0x2 (1 -> 2), chosen: Automatic -> Automatic Lockup\n"
              "outside the definitions: f000-f001 (2 bytes)\n"
              "4 definitions and 6 bytes differ; 2 bytes outside every definition.\n");
}

TEST_F(CliDiff, rows_only_one_image_has_and_slopes_alone_are_told_apart)
{
    std::vector<std::uint8_t> bytes = test::readBytes(sample());
    bytes[0x9060 - 0x8000] -= 1;  // MAPIDL: one row fewer
    bytes[0x9000 + 1 + 2 - 0x8000] ^= 0x01;  // WOTTBL row 0: slope high byte
    test::writeBytes(dir.file("b.bin"), bytes);
    ASSERT_EQ(run({"diff", sample(), dir.file("b.bin"), "--json"}), 1) << err;
    EXPECT_NE(out.find("\"rows\":[{\"row\":0,\"x\":[16,16],\"y\":[96,96],\"slopeRaw\":[128,384]}]"), std::string::npos)
        << out;
    EXPECT_NE(out.find("\"rowCount\":[6,5],\"rows\":[{\"row\":5,\"x\":[96,null],\"y\":[72,null]}]"), std::string::npos)
        << out;
}

TEST_F(CliDiff, equal_images_exit_0_other_sizes_1_and_trouble_2)
{
    ASSERT_EQ(run({"diff", sample(), sample()}), 0) << err;
    EXPECT_EQ(out, "Same size, same bytes.\n");

    std::vector<std::uint8_t> shorter = test::readBytes(sample());
    shorter.resize(0x4000);
    test::writeBytes(dir.file("short.bin"), shorter);
    ASSERT_EQ(run({"diff", sample(), dir.file("short.bin"), "--json"}), 1) << err;
    EXPECT_NE(out.find("\"bytesChanged\":0,\"sizeA\":32768,\"sizeB\":16384"), std::string::npos) << out;

    EXPECT_EQ(run({"diff", sample(), dir.file("missing.bin")}), 2);
    EXPECT_EQ(err, "tavo-cli: unable to read " + dir.file("missing.bin") + ": No such file or folder.\n");
    test::writeBytes(dir.file("huge.bin"), std::vector<std::uint8_t>(70000, 0));
    EXPECT_EQ(run({"diff", sample(), dir.file("huge.bin")}), 2);
    EXPECT_EQ(run({"diff", dir.file("missing.bin"), sample()}), 2);
    EXPECT_EQ(run({"diff", sample()}), 2) << "usage";
}

TEST(ImageDiff, a_table_at_the_end_of_the_space_tells_its_changes_as_far_as_its_bytes_exist)
{
    // Found by fuzzing: both were listed as changed with nothing said.
    auto a = std::make_unique<RomImage>();
    a->entryCount = 2;
    a->tables[0].offset = 0xFFFF;  // its count byte promises rows beyond 0xFFFF
    a->tables[1].offset = 0xFFF0;  // row 3's x and y are the last bytes but one
    a->image[0xFFFF] = 3;
    a->image[0xFFF0] = 4;
    a->image[0xFFFD] = 0x40;
    bindTables(*a);
    auto b = std::make_unique<ImageBuffer>(a->image);
    (*b)[0xFFFF] = 5;
    (*b)[0xFFFD] = 0x41;
    const ImageDifference found = compareImages(*a, *b, {0xFF00, 0xFFFF}, 256, 256);
    ASSERT_EQ(found.definitions.size(), 2u);
    EXPECT_EQ(changeLines(a->tables[0], found.definitions[0]), std::vector<std::string>{"rows 3 -> 5"});
    EXPECT_EQ(changeLines(a->tables[1], found.definitions[1]), std::vector<std::string>{"row 3: x 64 -> 65, y 0"});
    EXPECT_EQ(changeSummary(a->tables[0], found.definitions[0]), "rows 3 -> 5") << "one line is its own summary";
}

TEST(ImageDiff, a_byte_that_no_whole_row_holds_is_outside_every_definition)
{
    // Found by fuzzing: both tables were listed as changed with nothing said.
    auto a = std::make_unique<RomImage>();
    a->entryCount = 2;
    a->tables[0].offset = 0xFFFE;  // row 0's x would be 0xFFFF, its y beyond
    a->tables[1].offset = 0xFFF5;  // two FiveByte rows fill 0xFFFE; no room for a third
    a->tables[1].type = TableType::FiveByte;
    a->image[0xFFFE] = 254;
    bindTables(*a);
    auto b = std::make_unique<ImageBuffer>(a->image);
    (*b)[0xFFFF] = 0xFF;
    const ImageDifference found = compareImages(*a, *b, {0xFF00, 0xFFFF}, 256, 256);
    EXPECT_TRUE(found.definitions.empty());
    EXPECT_EQ(found.outside, (std::vector<AddressRange>{{0xFFFF, 0xFFFF}}));
    EXPECT_EQ(found.bytesChanged, 1);
}

TEST(ImageDiff, a_row_partly_in_both_images_is_told_when_a_byte_both_hold_differs)
{
    // Found by fuzzing: the table was listed as changed with nothing said.
    auto a = std::make_unique<RomImage>();
    a->entryCount = 1;
    a->tables[0].offset = 0xFEF0;  // row 3 is 0xFEFD to 0xFF00, its last slope byte the first both hold
    a->image[0xFEF0] = 8;
    bindTables(*a);
    auto b = std::make_unique<ImageBuffer>(a->image);
    (*b)[0xFF00] = 1;
    const ImageDifference found = compareImages(*a, *b, {0xFF00, 0xFFFF}, 256, 256);
    ASSERT_EQ(found.definitions.size(), 1u);
    EXPECT_EQ(changeLines(a->tables[0], found.definitions[0]), std::vector<std::string>{"row 3: slope 0000 -> 0001"});
}

}  // namespace
}  // namespace tavo
