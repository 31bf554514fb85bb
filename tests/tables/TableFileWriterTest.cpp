#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <iterator>
#include <memory>

#include "SampleCalibration.h"
#include "rom/RomImage.h"
#include "support/TempDir.h"
#include "tables/TableFileReader.h"
#include "tables/TableFileWriter.h"
#include "tables/WidestEntry.h"

namespace tavo {
namespace {

const char* const kLegend =
    "; Table Entries:\r\n"
    ";   Offset\r\n"
    ";   Type (0=Normal, 1 = 5byte, 2=Signed, 3=8bit, 4=16bit, 5=8bitflag, 6=8bitval)\r\n"
    ";   Moveable (obsolete, ignored)\r\n"
    ";   Name\r\n"
    ";   X Label (Input)\r\n"
    ";   X Minimum\r\n"
    ";   X Maximum\r\n"
    ";   X Units\r\n"
    ";   Y Label (Output)\r\n"
    ";   Y Minimum\r\n"
    ";   Y Maximum\r\n"
    ";   Y Units\r\n"
    ";   Chrysler Name (max 6 chars - SHOULD BE THE SAME for all different cals)\r\n"
    ";   Description\r\n"
    ";   in addition: D-Cal style constants and bitfields add extra fields\r\n";

TEST(TableFileWriting, an_image_without_entries_writes_header_legend_and_the_cal_data_lines)
{
    auto rom = std::make_unique<RomImage>();
    const std::string expected = std::string("   0\r\n") + "Description\r\n" + "TaVO\r\n" +
                                 "; This file written by TaVO build 195\r\n"
                                 "; \r\n"
                                 "; Design fuel injectors flow rate in Pounds/Hour (informational)\r\n"
                                 "injectors 0.0\r\n"
                                 "; Target maximum boost in PSI (informational)\r\n"
                                 "boost 0.0\r\n"
                                 "; Design MAP range in Bars (informational)\r\n"
                                 "map 2\r\n" +
                                 kLegend +
                                 ";   There are 0 entries following:\r\n"
                                 ";   -- CAL DATA BEGINS --\r\n"
                                 ";   -- CAL DATA ENDS --\r\n";
    EXPECT_EQ(formatTableFile(*rom), expected);
}

TEST(TableFileWriting, map_codes_and_d_cal_lines_are_written_as_the_reader_expects)
{
    auto rom = std::make_unique<RomImage>();
    rom->mapRange = kMap2Bar;
    EXPECT_NE(formatTableFile(*rom).find("\r\nmap 2\r\n"), std::string::npos);
    rom->mapRange = kMap25Bar;
    EXPECT_NE(formatTableFile(*rom).find("\r\nmap 2.5\r\n"), std::string::npos);
    rom->mapRange = kMap3Bar;
    EXPECT_NE(formatTableFile(*rom).find("\r\nmap 3\r\n"), std::string::npos);

    rom->checksumName = "sum";
    rom->checksumA = 0x1A;
    rom->crc32 = 0xBEEF;
    EXPECT_EQ(formatTableFile(*rom).find("checksum"), std::string::npos)
        << "no D-Cal version, no checksum lines";
    rom->dcalVersion = "3.0";
    const std::string text = formatTableFile(*rom);
    EXPECT_NE(text.find("; \r\n; Data file had D-Cal information in it:\r\nD-Cal_Version 3.0\r\n"
                        "checksum sum   1a    0\r\ncrc32     beef\r\n; \r\n"),
              std::string::npos);
}

TEST(TableFileWriting, entry_lines_encode_text_and_write_choice_values_without_padding)
{
    auto rom = std::make_unique<RomImage>();
    rom->entryCount = 2;
    TableDef& flags = rom->tables[0];
    flags.offset = 0x1A;
    flags.type = TableType::Flags8;
    flags.name = "Option Flags";
    flags.chryslerName = "OPT FL";
    flags.bitNames = {"A", "", "C", "D", "E", "F", "G", "H"};
    TableDef& choice = rom->tables[1];
    choice.offset = 0x9144;
    choice.type = TableType::Value8;
    choice.moveable = true;
    choice.valueNames = {"Off", "On", "Both", "Unused", "Unused", "Unused", "Unused", "Unused"};
    choice.values = {0, 1, 0x10, 0, 0, 0, 0, 0};
    const std::string text = formatTableFile(*rom);
    EXPECT_NE(text.find("\r\n  1a 5 n Option_Flags _ _ _ _ _ _ _ _ OPT_FL _ A _ C D E F G H\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n9144 6 y _ _ _ _ _ _ _ _ _ _ _ Off 0 On 1 Both 10 Unused 0 Unused 0 "
                        "Unused 0 Unused 0 Unused 0\r\n"),
              std::string::npos);
}

TEST(TableFileWriting, multi_line_descriptions_keep_their_line_breaks_on_one_line)
{
    auto rom = std::make_unique<RomImage>();
    rom->entryCount = 1;
    rom->tables[0].description = "First line\r\nsecond\nthird\rfourth\tend";
    rom->tables[0].chryslerName = "";
    rom->description = "Header\nwith a break";
    const std::string text = formatTableFile(*rom);
    EXPECT_NE(text.find("First_line\xA6second\xA6third\xA6" "fourth_end\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nHeader with a break\r\n"), std::string::npos);

    auto back = std::make_unique<RomImage>();
    readTableText(*back, text);
    ASSERT_EQ(back->entryCount, 1);
    EXPECT_EQ(back->tables[0].description, "First line\nsecond\nthird\nfourth end");
    EXPECT_EQ(back->tables[0].chryslerName, "_") << "an empty Chrysler name stays one token";
}

// Entries of every kind, with the awkward texts a user can type.
std::unique_ptr<RomImage> everyKind()
{
    auto rom = std::make_unique<RomImage>();
    rom->loadOffset = 0x8000;
    rom->description = "Every kind";
    rom->author = "Tests";
    rom->injectors = 33.5F;
    rom->boost = 14.0F;
    rom->mapRange = kMap25Bar;
    rom->dcalVersion = "1.0";
    rom->checksumName = "cs";
    rom->checksumA = 0x1234;
    rom->checksumB = 0xABCD;
    rom->crc32 = 0x89ABCDEF;
    for (int t = 0; t < kTableTypeCount; ++t) {
        TableDef& def = rom->tables[static_cast<std::size_t>(rom->entryCount++)];
        def.offset = 0x9000 + t * 0x10;
        def.type = static_cast<TableType>(t);
        def.moveable = t % 2 == 0;
        def.name = "Table " + std::to_string(t);
        def.axes.xLabel = "In put";
        def.axes.xMin = "-1.5";
        def.axes.xMax = "8000";
        def.axes.xUnits = "";
        def.axes.yLabel = "Out";
        def.axes.yMin = "0";
        def.axes.yMax = "12288";
        def.axes.yUnits = "ms";
        def.chryslerName = "TBL" + std::to_string(t);
        def.description = "Line one\nLine two";
        def.bitNames = {"b0", "b 1", "Not Used", "b3", "b4", "b5", "b6", "b7"};
        def.valueNames = {"v0", "v 1", "Unused", "v3", "v4", "v5", "v6", "v7"};
        def.values = {0, 1, 0x10, 0xFF, 0x1FF, 5, 6, 7};
    }
    return rom;
}

TEST(TableFileRoundTrip, write_read_write_gives_identical_bytes_for_every_kind)
{
    auto rom = everyKind();
    const std::string first = formatTableFile(*rom);
    auto back = std::make_unique<RomImage>();
    const TableReadResult result = readTableText(*back, first);
    EXPECT_EQ(result.entriesDropped, 0);
    ASSERT_EQ(back->entryCount, kTableTypeCount);
    EXPECT_EQ(formatTableFile(*back), first);
    EXPECT_EQ(back->tables[5].bitNames[1], "b 1");
    EXPECT_EQ(back->tables[6].values[4], 0x1FF);
    EXPECT_EQ(back->tables[0].axes.xUnits, " ");
    EXPECT_EQ(back->crc32, 0x89ABCDEFu);
    EXPECT_EQ(back->mapRange, kMap25Bar);
}

TEST(TableFileRoundTrip, entries_at_every_fields_widest_read_back_whole_and_wider_fields_are_written_cut)
{
    auto rom = std::make_unique<RomImage>();
    rom->entryCount = 2;
    rom->tables[0] = test::widestEntry(TableType::Flags8);
    rom->tables[0].valueNames = {};
    rom->tables[0].values = {};
    rom->tables[1] = test::widestEntry(TableType::Value8);
    rom->tables[1].bitNames = {};
    auto back = std::make_unique<RomImage>();
    readTableText(*back, formatTableFile(*rom));
    EXPECT_EQ(back->tables[0], rom->tables[0]);
    EXPECT_EQ(back->tables[1], rom->tables[1]);
    rom->tables[1].name += "past the width";
    rom->tables[1].axes.yUnits += "past the width";
    EXPECT_EQ(formatTableFile(*rom), formatTableFile(*back));
}

TEST(TableFileRoundTrip, the_sample_definition_file_reads_back_to_the_same_bytes)
{
    test::TempDir dir;
    ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
    const std::string original = test::readText(dir.file("sample.tbl"));
    auto rom = std::make_unique<RomImage>();
    readTableText(*rom, original);
    EXPECT_GE(rom->entryCount, kTableTypeCount);
    EXPECT_EQ(formatTableFile(*rom), original);
}

TEST(TableFileRoundTrip, lf_only_line_ends_read_the_same_as_cr_lf)
{
    auto rom = everyKind();
    const std::string crlf = formatTableFile(*rom);
    std::string lf;
    for (char c : crlf)
        if (c != '\r')
            lf += c;
    auto back = std::make_unique<RomImage>();
    readTableText(*back, lf);
    EXPECT_EQ(formatTableFile(*back), crlf);
}

#ifndef _WIN32  // a file size limit is POSIX
// While it lives, no file of the process may grow past `bytes`: a longer
// write fails part way, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*handler_)(int);
};

TEST(TableFileSaving, a_replacement_that_fails_part_way_leaves_the_previous_file_whole)
{
    test::TempDir dir;
    auto rom = everyKind();
    rom->tblPath = dir.file("cal.tbl");
    ASSERT_TRUE(writeTableFile(*rom));
    const std::string before = test::readText(rom->tblPath);
    rom->description = "changed";
    {
        const FileSizeLimit limit(100);
        EXPECT_FALSE(writeTableFile(*rom));
    }
    EXPECT_EQ(test::readText(dir.file("cal.tbl")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file is left";
    rom->tblPath = dir.file("missing-folder/cal.tbl");
    EXPECT_FALSE(writeTableFile(*rom));
    rom->tblPath = dir.path().string();  // a folder, not a file
    EXPECT_FALSE(writeTableFile(*rom));
}
#endif

}  // namespace
}  // namespace tavo
