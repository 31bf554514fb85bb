#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "SampleCalibration.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "rom/RomMessages.h"
#include "rom/RomScan.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/TableCells.h"

namespace tavo {
namespace {

class RomScanning : public ::testing::Test {
protected:
    std::unique_ptr<RomImage> rom = std::make_unique<RomImage>();

    void SetUp() override { rom->loadOffset = 0x8000; }

    void bytes(int at, std::initializer_list<int> values)
    {
        for (int value : values)
            rom->image[static_cast<std::size_t>(at++)] = static_cast<std::uint8_t>(value);
    }
    // LDX #target at an address.
    void loadX(int at, int target) { bytes(at, {0xCE, target >> 8, target & 0xFF}); }

    // A rising unsigned table of the given number of rows.
    void normalTable(int at, int rows)
    {
        rom->image[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(rows);
        for (int i = 0; i < rows; ++i)
            writePoint(rom->image, TableType::Normal, at, i, 10 + 20 * i, 5 + 3 * i);
        recomputeSlopes(rom->image, TableType::Normal, at);
    }
    void fiveByteTable(int at, const std::vector<std::pair<int, int>>& points)
    {
        for (std::size_t i = 0; i < points.size(); ++i)
            writePoint(rom->image, TableType::FiveByte, at, static_cast<int>(i), points[i].first,
                       points[i].second);
        rom->image[static_cast<std::size_t>(fiveByteRowAddress(at, static_cast<int>(points.size())))] = 0xFF;
        recomputeSlopes(rom->image, TableType::FiveByte, at);
    }
    const TableDef& entry(int index) const { return rom->tables[static_cast<std::size_t>(index)]; }
    void define(int offset)
    {
        TableDef& def = rom->tables[static_cast<std::size_t>(rom->entryCount++)];
        def.offset = offset;
        def.name = "Defined";
        def.chryslerName = "DEFND";
    }
};

TEST_F(RomScanning, a_load_x_operand_with_a_table_behind_it_becomes_a_generic_definition)
{
    loadX(0x8000, 0x9120);
    normalTable(0x9120, 4);
    // Fields a found table is not given keep what the slot held.
    TableDef& slot = rom->tables[0];
    slot.moveable = true;
    slot.bitNames[0] = "Old bit";
    slot.values[2] = 7;

    const ScanResult result = scanLoadedImage(*rom);

    ASSERT_EQ(result.added, std::vector<int>{0});
    EXPECT_FALSE(result.stoppedAtCapacity);
    EXPECT_EQ(rom->entryCount, 1);
    const TableDef& def = entry(0);
    EXPECT_EQ(def.offset, 0x9120);
    EXPECT_EQ(def.type, TableType::Normal);
    EXPECT_EQ(def.count, 4);
    EXPECT_EQ(def.name, "L9120");
    EXPECT_EQ(def.axes.xLabel, "IN");
    EXPECT_EQ(def.axes.xMin, "0");
    EXPECT_EQ(def.axes.xMax, "256");
    EXPECT_EQ(def.axes.xUnits, "in");
    EXPECT_EQ(def.axes.yLabel, "OUT");
    EXPECT_EQ(def.axes.yMin, "0");
    EXPECT_EQ(def.axes.yMax, "256");
    EXPECT_EQ(def.axes.yUnits, "out");
    EXPECT_EQ(def.chryslerName, "NAME");
    EXPECT_EQ(def.description, "Description");
    EXPECT_TRUE(def.moveable);
    EXPECT_EQ(def.bitNames[0], "Old bit");
    EXPECT_EQ(def.values[2], 7);
}

TEST_F(RomScanning, names_are_upper_case_hex_padded_with_spaces_to_four_characters)
{
    rom->loadOffset = 0x0400;
    loadX(0x0400, 0x0800);
    loadX(0x0403, 0xABCD);
    normalTable(0x0800, 2);
    normalTable(0xABCD, 3);
    scanLoadedImage(*rom);
    ASSERT_EQ(rom->entryCount, 2);
    EXPECT_EQ(entry(0).name, "L 800");
    EXPECT_EQ(entry(1).name, "LABCD");
}

TEST_F(RomScanning, operands_not_above_the_load_offset_are_skipped)
{
    // One-row tables pass the shape test unseen, so only the rule rejects these.
    bytes(0x0086, {1});
    bytes(0x8000, {1, 1});
    loadX(0x8010, 0x0086);  // RAM, below the image
    loadX(0x8013, 0x8000);  // the load offset itself
    loadX(0x8016, 0x8001);  // the next higher address
    scanLoadedImage(*rom);
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).offset, 0x8001);
}

TEST_F(RomScanning, a_table_referenced_twice_gives_one_entry_and_a_defined_one_none)
{
    define(0x9100);
    normalTable(0x9000, 3);
    normalTable(0x9100, 3);
    loadX(0x8000, 0x9000);
    loadX(0x8003, 0x9100);
    loadX(0x8006, 0x9000);
    const ScanResult result = scanLoadedImage(*rom);
    ASSERT_EQ(result.added, std::vector<int>{1});
    EXPECT_EQ(rom->entryCount, 2);
    EXPECT_EQ(entry(0).name, "Defined") << "existing entries are left alone";
    EXPECT_EQ(entry(1).offset, 0x9000);
}

TEST_F(RomScanning, entries_follow_the_order_of_the_instructions_found)
{
    normalTable(0x9000, 3);
    normalTable(0x9100, 3);
    loadX(0x8000, 0x9100);
    loadX(0x8003, 0x9000);
    scanLoadedImage(*rom);
    ASSERT_EQ(rom->entryCount, 2);
    EXPECT_EQ(entry(0).offset, 0x9100);
    EXPECT_EQ(entry(1).offset, 0x9000);
}

TEST_F(RomScanning, the_last_instruction_examined_lies_just_below_0xffe0)
{
    normalTable(0x9000, 3);
    normalTable(0x9100, 3);
    loadX(0xFFDF, 0x9000);  // its operand lies at 0xFFE0 and 0xFFE1
    loadX(0xFFE2, 0x9100);  // vector area: never an instruction
    scanLoadedImage(*rom);
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).offset, 0x9000);

    rom->entryCount = 0;
    bytes(0xFFDF, {0});
    loadX(0xFFE0, 0x9000);
    scanLoadedImage(*rom);
    EXPECT_EQ(rom->entryCount, 0);
}

TEST_F(RomScanning, nothing_below_the_load_offset_is_scanned_but_bytes_past_the_image_end_are)
{
    rom->imageSize = 0x1000;  // the file ends at 0x9000
    normalTable(0xA000, 3);
    normalTable(0xA100, 3);
    loadX(0x7FFD, 0xA000);
    loadX(0xC000, 0xA100);
    scanLoadedImage(*rom);
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).offset, 0xA100);
}

TEST_F(RomScanning, a_first_byte_of_zero_is_tried_as_a_five_byte_table)
{
    fiveByteTable(0x9000, {{0, 800}, {64, 1400}, {128, 2100}});
    loadX(0x8000, 0x9000);
    scanLoadedImage(*rom);
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).type, TableType::FiveByte);
    EXPECT_EQ(entry(0).count, 3);
    EXPECT_EQ(entry(0).axes.yMax, "256");
}

TEST_F(RomScanning, bytes_of_no_table_shape_give_no_entry_and_leave_the_free_slot_alone)
{
    bytes(0x9000, {3, 40, 1, 0, 0, 20, 2, 0, 0, 60, 3});  // x falls: no Normal table
    loadX(0x8000, 0x9000);
    rom->tables[0].name = "left over";
    scanLoadedImage(*rom);
    EXPECT_EQ(rom->entryCount, 0);
    EXPECT_EQ(rom->tables[0].name, "left over");
}

TEST_F(RomScanning, a_signed_table_gets_the_same_raw_scale_as_the_others)
{
    // y falls from 0 to 0xFC (-4): the negative slope shows it to be signed.
    bytes(0x9000, {2, 0, 0, 0xFF, 0xE0, 32, 0xFC, 0, 0});
    loadX(0x8000, 0x9000);
    scanLoadedImage(*rom);
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).type, TableType::Signed);
    EXPECT_EQ(entry(0).count, 2);
    EXPECT_EQ(entry(0).axes.yMin, "0");
    EXPECT_EQ(entry(0).axes.yMax, "256");
}

TEST_F(RomScanning, a_normal_table_whose_rows_would_run_past_0xffff_is_rejected)
{
    // Seven rows of rising x from 0xFFE8 need the bytes up to 0x10001.
    bytes(0xFFE8, {7, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0});
    loadX(0x8000, 0xFFE8);
    scanLoadedImage(*rom);
    EXPECT_EQ(rom->entryCount, 0);

    rom->image[0xFFE8] = 6;  // six rows end at 0xFFFE: a table
    scanLoadedImage(*rom);
    EXPECT_EQ(rom->entryCount, 1);
}

TEST_F(RomScanning, a_five_byte_table_without_an_end_row_before_0xffff_is_rejected)
{
    // Rows of rising x at 0xFFF0, 0xFFF5, 0xFFFA and 0xFFFF; the next would start past the end.
    bytes(0xFFF0, {0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4});
    loadX(0x8000, 0xFFF0);
    scanLoadedImage(*rom);
    EXPECT_EQ(rom->entryCount, 0);

    rom->image[0xFFFF] = 0xFF;  // an end row: three data rows
    scanLoadedImage(*rom);
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(entry(0).type, TableType::FiveByte);
    EXPECT_EQ(entry(0).count, 3);
}

TEST_F(RomScanning, a_full_table_list_stops_the_scan_without_storing_past_it)
{
    for (int i = 0; i < kTableCapacity - 1; ++i)
        define(0x1000 + i);
    normalTable(0x9000, 3);
    normalTable(0x9100, 3);
    normalTable(0x9200, 3);
    loadX(0x8000, 0x9000);
    loadX(0x8003, 0x1000);  // already defined: passed over, no stop yet
    loadX(0x8006, 0x9100);
    loadX(0x8009, 0x9200);
    const ScanResult result = scanLoadedImage(*rom);
    EXPECT_EQ(result.added, std::vector<int>{kTableCapacity - 1});
    EXPECT_TRUE(result.stoppedAtCapacity);
    EXPECT_EQ(rom->entryCount, kTableCapacity);
    EXPECT_EQ(entry(kTableCapacity - 1).offset, 0x9000);
    EXPECT_EQ(rom->tables.size(), static_cast<std::size_t>(kTableCapacity));
}

TEST_F(RomScanning, a_full_table_list_with_nothing_new_to_add_is_not_a_stop)
{
    for (int i = 0; i < kTableCapacity; ++i)
        define(0x1000 + i);
    loadX(0x8000, 0x1000);
    const ScanResult result = scanLoadedImage(*rom);
    EXPECT_TRUE(result.added.empty());
    EXPECT_FALSE(result.stoppedAtCapacity);
}

// "ROM Scan..." itself: load, then scan.
class RomScanCommand : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<RomImage> rom = std::make_unique<RomImage>();

    void SetUp() override { ASSERT_TRUE(sample::writeSampleFiles(dir.path().string())); }
    const TableDef& entry(int index) const { return rom->tables[static_cast<std::size_t>(index)]; }
};

TEST_F(RomScanCommand, the_sample_calibrations_undefined_tables_are_found)
{
    prompts.openNames.push_back(dir.file("sample.bin"));
    const ScanResult result = scanRom(*rom, prompts);
    ASSERT_EQ(prompts.openRequests.size(), 1u);
    EXPECT_EQ(prompts.openRequests[0].title, "Select Rom Image");
    ASSERT_EQ(result.added, (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(rom->entryCount, 14);
    EXPECT_EQ(entry(11).offset, sample::kUndefinedNormal);
    EXPECT_EQ(entry(11).type, TableType::Normal);
    EXPECT_EQ(entry(11).name, "L9200");
    EXPECT_EQ(entry(12).offset, sample::kUndefinedFiveByte);
    EXPECT_EQ(entry(12).type, TableType::FiveByte);
    EXPECT_EQ(entry(12).count, 5);
    EXPECT_EQ(entry(13).offset, sample::kUndefinedSigned);
    EXPECT_EQ(entry(13).type, TableType::Signed);
    EXPECT_EQ(entry(13).count, 5);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RomScanCommand, a_cancelled_file_choice_scans_the_image_already_held)
{
    prompts.openNames.push_back(std::nullopt);
    EXPECT_TRUE(scanRom(*rom, prompts).added.empty()) << "nothing loaded: nothing to scan";
    EXPECT_EQ(rom->entryCount, 0);

    ASSERT_EQ(loadRomImageFrom(*rom, dir.file("sample.bin"), prompts), LoadOutcome::Loaded);
    prompts.openNames.push_back(std::nullopt);
    EXPECT_EQ(scanRom(*rom, prompts).added.size(), 3u);
    EXPECT_EQ(rom->entryCount, 14);
}

TEST_F(RomScanCommand, a_refused_image_file_leaves_the_held_image_to_be_scanned)
{
    ASSERT_EQ(loadRomImageFrom(*rom, dir.file("sample.bin"), prompts), LoadOutcome::Loaded);
    test::writeBytes(dir.file("huge.bin"), std::vector<std::uint8_t>(70000, 0xCE));
    test::writeText(dir.file("huge.tbl"), "0\nd\na\n");
    prompts.openNames.push_back(dir.file("huge.bin"));
    EXPECT_EQ(scanRom(*rom, prompts).added.size(), 3u);
    EXPECT_EQ(rom->romPath, dir.file("sample.bin"));
    ASSERT_EQ(prompts.messages.size(), 1u) << "only the refusal is reported";
    EXPECT_EQ(prompts.messages[0].text, kRomTooLarge);
}

TEST_F(RomScanCommand, a_full_table_list_is_reported_once)
{
    prompts.openNames.push_back(dir.file("sample.bin"));
    ASSERT_EQ(loadRomImage(*rom, prompts), LoadOutcome::Loaded);
    // Room for one of the three undefined tables only; cancelling the file
    // choice keeps the filled list in memory.
    for (int i = rom->entryCount; i < kTableCapacity - 1; ++i)
        rom->tables[static_cast<std::size_t>(i)].offset = 0x1000 + i;
    rom->entryCount = kTableCapacity - 1;
    prompts.openNames.push_back(std::nullopt);
    const ScanResult result = scanRom(*rom, prompts);
    EXPECT_EQ(result.added.size(), 1u);
    EXPECT_EQ(rom->entryCount, kTableCapacity);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, kScanTableListFull);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
}

TEST(RomScanSummary, says_what_was_added_naming_the_first_few_or_that_nothing_was)
{
    auto rom = std::make_unique<RomImage>();
    for (int i = 0; i < 8; ++i)
        rom->tables[static_cast<std::size_t>(i)].name = "L" + std::to_string(9100 + i);
    EXPECT_EQ(scanSummaryText(*rom, {}), "ROM Scan found no new tables.");
    EXPECT_EQ(scanSummaryText(*rom, {{3}, false}), "1 definition added: L9103.");
    EXPECT_EQ(scanSummaryText(*rom, {{0, 1, 2, 3, 4, 5, 6, 7}, false}),
              "8 definitions added: L9100, L9101, L9102, L9103, L9104, L9105 and 2 more.");
}

}  // namespace
}  // namespace tavo
