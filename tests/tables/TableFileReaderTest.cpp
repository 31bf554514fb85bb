#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <memory>

#include "rom/RomImage.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/TableFileReader.h"

namespace tavo {
namespace {

class TableFileReading : public ::testing::Test {
protected:
    std::unique_ptr<RomImage> rom = std::make_unique<RomImage>();

    const TableDef& entry(int i) const { return rom->tables[static_cast<std::size_t>(i)]; }
    void read(std::string_view text) { readTableText(*rom, text); }
};

TEST_F(TableFileReading, a_file_of_only_the_header_gives_the_header_values_and_no_entries)
{
    rom->entryCount = 3;
    rom->dcalVersion = "old";
    read("8000\r\nMy calibration\r\nSomebody\r\n");
    EXPECT_EQ(rom->loadOffset, 0x8000);
    EXPECT_EQ(rom->description, "My calibration");
    EXPECT_EQ(rom->author, "Somebody");
    EXPECT_EQ(rom->entryCount, 0);
    EXPECT_EQ(rom->dcalVersion, "");
}

TEST_F(TableFileReading, rom_information_the_file_does_not_set_keeps_its_value)
{
    rom->injectors = 42.0F;
    rom->mapRange = kMap3Bar;
    rom->crc32 = 0x1234;
    read("c000\nd\na\nboost 14.5\n");
    EXPECT_FLOAT_EQ(rom->injectors, 42.0F);
    EXPECT_FLOAT_EQ(rom->boost, 14.5F);
    EXPECT_EQ(rom->mapRange, kMap3Bar);
    EXPECT_EQ(rom->crc32, 0x1234u);
}

TEST_F(TableFileReading, keywords_are_case_sensitive_and_the_later_line_wins)
{
    read("8000\nd\na\nmap 2.5\ninjectors 30\ninjectors 33.25\n");
    EXPECT_EQ(rom->mapRange, kMap25Bar);
    EXPECT_FLOAT_EQ(rom->injectors, 33.25F);
    read("8000\nd\na\nmap 3\n");
    EXPECT_EQ(rom->mapRange, kMap3Bar);
    read("8000\nd\na\nmap 4\nMap 2\n");
    EXPECT_EQ(rom->mapRange, kMap3Bar) << "map 4 and Map 2 change nothing";
    read("8000\nd\na\nmap 2\n");
    EXPECT_EQ(rom->mapRange, kMap2Bar);
}

TEST_F(TableFileReading, d_cal_lines_are_carried_along)
{
    read("8000\nd\na\nD-Cal_Version 2.1b\nchecksum sum1 1a2b ffff\ncrc32 DEADBEEF\n");
    EXPECT_EQ(rom->dcalVersion, "2.1b");
    EXPECT_EQ(rom->checksumName, "sum1");
    EXPECT_EQ(rom->checksumA, 0x1A2Bu);
    EXPECT_EQ(rom->checksumB, 0xFFFFu);
    EXPECT_EQ(rom->crc32, 0xDEADBEEFu);
    read("8000\nd\na\nchecksum only\ncrc32 zz\ninjectors lots\n");
    EXPECT_EQ(rom->checksumName, "sum1") << "a short checksum line keeps the old values";
    EXPECT_EQ(rom->crc32, 0xDEADBEEFu);
}

TEST_F(TableFileReading, comments_start_in_the_first_column_only)
{
    read("8000\nd\na\n; 9000 0 n Commented X Y\n ;9000 0 n Spaced X Y\n9100 0 n Real X Y\n");
    // The blank before the semicolon makes that line a candidate entry, which
    // then matches no form.
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).name, "Real");
}

TEST_F(TableFileReading, the_fourteen_token_form_unescapes_every_text_field_but_the_chrysler_name)
{
    read("8000\nd\na\n"
         "9000 0 y WOT_Fuel Engine_Speed 0 8192 RPM Fuel_Mult 0 200 % WOT_TBL Line_one\xA6line_two\n");
    ASSERT_EQ(rom->entryCount, 1);
    const TableDef& def = entry(0);
    EXPECT_EQ(def.offset, 0x9000);
    EXPECT_EQ(def.type, TableType::Normal);
    EXPECT_TRUE(def.moveable);
    EXPECT_EQ(def.name, "WOT Fuel");
    EXPECT_EQ(def.axes.xLabel, "Engine Speed");
    EXPECT_EQ(def.axes.xMax, "8192");
    EXPECT_EQ(def.axes.yLabel, "Fuel Mult");
    EXPECT_EQ(def.chryslerName, "WOT_TBL");
    EXPECT_EQ(def.description, "Line one\nline two");
    EXPECT_EQ(def.count, 0);
}

TEST_F(TableFileReading, the_seven_and_six_token_forms_fill_the_default_scales_by_type)
{
    read("8000\nd\na\n"
         "9000 0 n Fuel In Out A_description\n"
         "9100 1 1 Pulse Load Width\n"
         "9200 2 n Trim In Out\n"
         "9300 3 n Limit In Out\n");
    ASSERT_EQ(rom->entryCount, 4);
    EXPECT_EQ(entry(0).description, "A description");
    EXPECT_EQ(entry(0).axes.yMax, "256");
    EXPECT_EQ(entry(0).chryslerName, "NAME");
    EXPECT_EQ(entry(1).type, TableType::FiveByte);
    EXPECT_TRUE(entry(1).moveable);
    EXPECT_EQ(entry(1).axes.yMin, "0");
    EXPECT_EQ(entry(1).axes.yMax, "12288");
    EXPECT_EQ(entry(1).description, "Description");
    EXPECT_EQ(entry(2).axes.yMin, "-128");
    EXPECT_EQ(entry(2).axes.yMax, "128");
    EXPECT_EQ(entry(2).axes.xMin, "0");
    EXPECT_EQ(entry(2).axes.xMax, "256");
    EXPECT_EQ(entry(2).axes.xUnits, "in");
    EXPECT_EQ(entry(3).axes.yMax, "") << "other kinds keep their y scales";
}

TEST_F(TableFileReading, the_thirteen_token_form_takes_its_last_token_as_the_description)
{
    read("8000\nd\na\n9000 0 n Fuel X 0 256 in Y 0 256 out Short_form\n");
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).chryslerName, "NAME");
    EXPECT_EQ(entry(0).description, "Short form");
    EXPECT_EQ(entry(0).axes.yUnits, "out");
}

TEST_F(TableFileReading, bit_field_and_choice_entries_read_their_names_and_values)
{
    read("8000\nd\na\n"
         "9143 5 n Flags X 0 256 in Y 0 256 out OPTFLG _ Bit_zero B1 B2 B3 Not_Used B5 B6 B7\n"
         "9144 6 n Trans X 0 256 in Y 0 256 out TRNTYP _ Manual 0 Auto 1 Lockup 10 Unused 0 "
         "Unused 0 Unused 0 Unused 0 Big ffffffff\n");
    ASSERT_EQ(rom->entryCount, 2);
    EXPECT_EQ(entry(0).type, TableType::Flags8);
    EXPECT_EQ(entry(0).bitNames[0], "Bit zero");
    EXPECT_EQ(entry(0).bitNames[4], "Not Used");
    EXPECT_EQ(entry(0).description, " ") << "an empty field comes back as one space";
    EXPECT_EQ(entry(1).valueNames[2], "Lockup");
    EXPECT_EQ(entry(1).values[2], 0x10);
    EXPECT_EQ(entry(1).values[7], -1);
}

TEST_F(TableFileReading, five_hex_digits_in_the_offset_shift_every_later_token)
{
    read("8000\nd\na\n12341 0 y Name X Y\n");
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).offset, 0x1234);
    EXPECT_EQ(entry(0).type, TableType::FiveByte) << "the fifth digit is the type token";
    EXPECT_FALSE(entry(0).moveable) << "the type token 0 is read as the moveable flag";
    EXPECT_EQ(entry(0).name, "y");
    EXPECT_EQ(entry(0).axes.xLabel, "Name");
    EXPECT_EQ(entry(0).axes.yLabel, "X");
    EXPECT_EQ(entry(0).description, "Y");
}

TEST_F(TableFileReading, lines_that_match_no_form_are_skipped)
{
    read("8000\nd\na\n\nzz 0 n A B C\n9000 0 n A B\n9000 0 n A X Y\n");
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).name, "A");
    EXPECT_EQ(entry(0).axes.yLabel, "Y");
}

TEST_F(TableFileReading, a_type_token_outside_0_to_6_keeps_what_the_slot_held)
{
    rom->tables[0].type = TableType::Const16;
    read("8000\nd\na\n9000 9 n A X Y\n");
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).type, TableType::Const16);
}

TEST_F(TableFileReading, fields_longer_than_their_width_are_cut)
{
    const std::string longName(400, 'N');
    const std::string longChrysler(50, 'C');
    read("8000\n" + std::string(300, 'D') + "\na\n9000 0 n " + longName +
         " X 012345678901234567890 256 in Y 0 256 out " + longChrysler + " d\n");
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(rom->description.size(), 255u);
    EXPECT_EQ(entry(0).name.size(), 255u);
    EXPECT_EQ(entry(0).axes.xMin, "012345678901234");
    EXPECT_EQ(entry(0).chryslerName.size(), 31u);
}

TEST_F(TableFileReading, entries_beyond_the_capacity_are_not_stored_and_are_counted)
{
    std::string text = "8000\nd\na\n";
    for (int i = 0; i < kTableCapacity + 3; ++i)
        text += "9000 3 n Item X Y\n";
    const TableReadResult result = readTableText(*rom, text);
    EXPECT_EQ(rom->entryCount, kTableCapacity);
    EXPECT_EQ(result.entriesDropped, 3);
}

TEST(TableFileMissing, a_missing_file_runs_the_rom_information_step_then_writes_a_new_file)
{
    test::TempDir dir;
    auto rom = std::make_unique<RomImage>();
    rom->tblPath = dir.file("new.tbl");
    rom->entryCount = 2;
    test::ScriptedPrompts prompts;
    prompts.romInformation = [](RomImage& record) {
        record.loadOffset = 0xC000;
        record.description = "Fresh";
        return true;
    };
    const TableReadResult result = readTableFile(*rom, prompts);
    EXPECT_FALSE(result.fileFound);
    EXPECT_EQ(prompts.romInformationRuns, 1);
    EXPECT_TRUE(prompts.questions.empty()) << "the new offset is taken without the move question";
    EXPECT_EQ(rom->entryCount, 0);
    const std::string written = test::readText(dir.file("new.tbl"));
    EXPECT_EQ(written.rfind("c000\r\nFresh\r\nTaVO\r\n", 0), 0u);
}

TEST(TableFileMissing, more_than_514_entries_are_reported_once)
{
    test::TempDir dir;
    std::string text = "8000\nd\na\n";
    for (int i = 0; i < kTableCapacity + 10; ++i)
        text += "9000 3 n Item X Y\n";
    test::writeText(dir.file("big.tbl"), text);
    auto rom = std::make_unique<RomImage>();
    rom->tblPath = dir.file("big.tbl");
    test::ScriptedPrompts prompts;
    readTableFile(*rom, prompts);
    EXPECT_EQ(rom->entryCount, kTableCapacity);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].text.find("514"), std::string::npos);
}

#ifndef _WIN32  // a FIFO is POSIX
TEST(TableFileUnreadable, a_file_that_exists_but_cannot_be_read_is_refused_and_never_replaced)
{
    test::TempDir dir;
    struct Case {
        std::string name;
        std::string reason;
    };
    std::vector<Case> cases = {{"folder.tbl", "It is a directory."},
                               {"pipe.tbl", "It is not a regular file (a pipe, device or socket)."},
                               {"huge.tbl", "The file is larger than 64 MiB."}};
    std::filesystem::create_directory(dir.path() / "folder.tbl");
    ASSERT_EQ(::mkfifo(dir.file("pipe.tbl").c_str(), 0644), 0);
    // Sparse: a file one byte over the limit, without writing 64 MiB.
    test::writeText(dir.file("huge.tbl"), "8000\nd\na\n");
    ASSERT_EQ(::truncate(dir.file("huge.tbl").c_str(), 64 * 1024 * 1024 + 1), 0);
    if (!test::runningAsRoot()) {
        test::writeText(dir.file("secret.tbl"), "8000\nd\na\n");
        ASSERT_EQ(::chmod(dir.file("secret.tbl").c_str(), 0), 0);
        cases.push_back({"secret.tbl", "Permission denied."});
    }
    for (const Case& c : cases) {
        auto rom = std::make_unique<RomImage>();
        rom->tblPath = dir.file(c.name);
        rom->entryCount = 1;
        rom->description = "as before";
        test::ScriptedPrompts prompts;
        prompts.romInformation = [](RomImage&) { return true; };
        const TableReadResult result = readTableFile(*rom, prompts);
        EXPECT_TRUE(result.refused) << c.name;
        EXPECT_EQ(prompts.romInformationRuns, 0) << c.name << " is not missing";
        ASSERT_EQ(prompts.messages.size(), 1u) << c.name;
        EXPECT_EQ(prompts.messages[0].text,
                  "Unable to read the table definition file:\n" + dir.file(c.name) + "\n" + c.reason);
        EXPECT_EQ(rom->entryCount, 1);
        EXPECT_EQ(rom->description, "as before");
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.tbl"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path() / "pipe.tbl"));
    EXPECT_EQ(std::filesystem::file_size(dir.path() / "huge.tbl"), 64u * 1024 * 1024 + 1);
}
#endif

}  // namespace
}  // namespace tavo
