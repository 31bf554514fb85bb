// tavo-cli scale: scaling a table of the sample image and saving the image.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "SampleCalibration.h"
#include "cli/CliCommands.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "support/ScriptedPrompts.h"
#include "support/CliRun.h"
#include "support/TempDir.h"
#include "tables/TableCells.h"
#include "tables/TableFileWriter.h"
#include "tables/TableLookup.h"

namespace tavo {
namespace {

class TavoCliScale : public test::CliRun {
protected:

    std::unique_ptr<RomImage> reload() const
    {
        auto rom = std::make_unique<RomImage>();
        test::ScriptedPrompts prompts;
        EXPECT_EQ(loadRomImageFrom(*rom, sample(), prompts), LoadOutcome::Loaded);
        return rom;
    }
};

TEST_F(TavoCliScale, scales_a_normal_table_and_saves_the_image_of_the_same_size)
{
    const auto sizeBefore = test::readBytes(sample()).size();
    const std::string tblBefore = test::readText(dir.file("sample.tbl"));
    ASSERT_EQ(run({"scale", sample(), "wottbl", "--x", "100", "--y", "150"}), 0) << err;
    EXPECT_NE(out.find("WOTTBL"), std::string::npos) << out;
    EXPECT_NE(out.find("150.000000"), std::string::npos) << out;
    EXPECT_EQ(test::readBytes(sample()).size(), sizeBefore);
    EXPECT_EQ(test::readText(dir.file("sample.tbl")), tblBefore) << "the definitions stay";

    auto rom = reload();
    const TablePoint first = readPoint(rom->image, TableType::Normal, 0x9000, 0);
    EXPECT_EQ(first.x, 16);
    EXPECT_EQ(first.y, 144);
    EXPECT_EQ(first.slopeLow, 0xC0);
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, 0x9000, 8).y, 255);
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, 0x9030, 0).y, 40) << "other tables stay";
}

TEST_F(TavoCliScale, scales_signed_and_five_byte_tables_found_by_title_too)
{
    ASSERT_EQ(run({"scale", sample(), "Knock Retard Correction", "--x", "100%", "--y", "50"}), 0) << err;
    ASSERT_EQ(run({"scale", sample(), "INJPW", "--x", "1e2", "--y", "200"}), 0) << err;
    auto rom = reload();
    EXPECT_EQ(readPoint(rom->image, TableType::Signed, 0x90B0, 6).y, -6);  // -12 at 50%
    EXPECT_EQ(readPoint(rom->image, TableType::FiveByte, 0x90E0, 7).y, 14200);
}

TEST_F(TavoCliScale, a_kind_without_rows_is_refused_and_nothing_is_written)
{
    const auto before = test::readBytes(sample());
    EXPECT_EQ(run({"scale", sample(), "REVLIM", "--x", "150", "--y", "150"}), 1);
    EXPECT_NE(err.find("Const8"), std::string::npos) << err;
    EXPECT_EQ(test::readBytes(sample()), before);
    EXPECT_EQ(run({"scale", sample(), "NOSUCH", "--x", "150", "--y", "150"}), 1);
}

TEST_F(TavoCliScale, missing_or_unusable_percentages_are_usage_errors)
{
    const auto before = test::readBytes(sample());
    EXPECT_EQ(run({"scale", sample(), "WOTTBL", "--x", "150"}), 2);
    EXPECT_EQ(run({"scale", sample(), "WOTTBL", "--y", "150"}), 2);
    EXPECT_EQ(run({"scale", sample(), "WOTTBL", "--x", "abc", "--y", "100"}), 2);
    EXPECT_EQ(run({"scale", sample(), "WOTTBL", "--x", "15O", "--y", "100"}), 2);
    EXPECT_EQ(run({"scale", sample(), "WOTTBL", "--x", "-50", "--y", "100"}), 2);
    EXPECT_EQ(run({"scale", sample(), "WOTTBL", "--x", "100", "--y", "nan"}), 2);
    EXPECT_EQ(run({"scale", sample(), "--x", "100", "--y", "100"}), 2);
    EXPECT_EQ(test::readBytes(sample()), before);
}

TEST_F(TavoCliScale, a_table_whose_slopes_reach_below_the_image_file_is_refused)
{
    // The image file covers 0x8000-0xFFFF. A FiveByte table at 0x7FFB has its
    // first row below it and its second at 0x8000: the slope of the first row
    // would be written outside the bytes a save writes.
    auto rom = reload();
    TableDef& def = rom->tables[static_cast<std::size_t>(findTableIndexOrNone(*rom, "INJPW"))];
    def.offset = 0x7FFB;
    ASSERT_TRUE(writeTableFile(*rom));
    const auto before = test::readBytes(sample());
    EXPECT_EQ(run({"scale", sample(), "INJPW", "--x", "100", "--y", "100"}), 1);
    EXPECT_NE(err.find("nothing written"), std::string::npos) << err;
    EXPECT_EQ(test::readBytes(sample()), before);
}

TEST_F(TavoCliScale, a_key_with_control_characters_is_shown_safely_when_refused)
{
    std::string tbl = test::readText(dir.file("sample.tbl"));
    const std::size_t at = tbl.find("OPTFLG");
    ASSERT_NE(at, std::string::npos);
    tbl.replace(at, 6, "OPT\x1b[2JFLG");
    test::writeText(dir.file("sample.tbl"), tbl);
    EXPECT_EQ(run({"scale", sample(), "OPT\x1b[2JFLG", "--x", "150", "--y", "150"}), 1);
    EXPECT_NE(err.find("tavo-cli: OPT^[[2JFLG is a Flags8 entry"), std::string::npos) << err;
    EXPECT_EQ(err.find('\x1b'), std::string::npos);
    EXPECT_EQ(run({"scale", sample(), "NO\x1b[2JSUCH", "--x", "150", "--y", "150"}), 1);
    EXPECT_EQ(err, "tavo-cli: no entry with the Chrysler name or title NO^[[2JSUCH\n");
}

}  // namespace
}  // namespace tavo
