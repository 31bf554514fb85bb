#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "common/AtomicFile.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "rom/RomMessages.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/TableFileWriter.h"

namespace tavo {
namespace {

class RomLoading : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<RomImage> rom = std::make_unique<RomImage>();

    // An image file of the given size filled with one byte, and a .tbl
    // beside it placing it at the offset (with one Normal table at `table`).
    std::string makeImage(const std::string& name, std::size_t size, int offset, std::uint8_t fill,
                          int table = -1)
    {
        const std::string path = dir.file(name + ".bin");
        test::writeBytes(path, std::vector<std::uint8_t>(size, fill));
        std::string tbl = hexLower4(offset) + "\nImage " + name + "\nTests\n";
        if (table >= 0)
            tbl += hexLower4(table) + " 0 n Table_" + name + " X Y\n";
        test::writeText(dir.file(name + ".tbl"), tbl);
        return path;
    }
    static std::string hexLower4(int value)
    {
        char text[8];
        std::snprintf(text, sizeof text, "%x", value);
        return text;
    }
    LoadOutcome load(const std::string& path)
    {
        prompts.openNames.push_back(path);
        return loadRomImage(*rom, prompts);
    }
};

TEST(TablePath, the_extension_after_the_last_separator_is_replaced)
{
    EXPECT_EQ(tablePathFor("D:\\cal\\t2.bin"), "D:\\cal\\t2.tbl");
    EXPECT_EQ(tablePathFor("D:\\cal\\t2.rev3.bin"), "D:\\cal\\t2.rev3.tbl");
    EXPECT_EQ(tablePathFor("D:\\cal.old\\t2"), "D:\\cal.old\\t2.tbl");
    EXPECT_EQ(tablePathFor("/home/me/cal.old/t2"), "/home/me/cal.old/t2.tbl");
    EXPECT_EQ(tablePathFor("/home/me/t2.bin"), "/home/me/t2.tbl");
}

TEST_F(RomLoading, the_file_dialog_asks_for_a_rom_image_starting_at_the_current_path)
{
    rom->romPath = "/somewhere/old.bin";
    EXPECT_EQ(loadRomImage(*rom, prompts), LoadOutcome::Cancelled);
    ASSERT_EQ(prompts.openRequests.size(), 1u);
    EXPECT_EQ(prompts.openRequests[0].title, "Select Rom Image");
    EXPECT_EQ(prompts.openRequests[0].filterName, "Rom Image Files");
    EXPECT_EQ(prompts.openRequests[0].pattern, "*.bin");
    EXPECT_EQ(prompts.openRequests[0].initialPath, "/somewhere/old.bin");
    EXPECT_EQ(rom->romPath, "/somewhere/old.bin") << "cancel changes nothing";
    EXPECT_EQ(prompts.repaints, 0);
}

TEST_F(RomLoading, a_full_64k_image_loads_at_offset_0_and_is_refused_at_offset_1)
{
    EXPECT_EQ(load(makeImage("full", 65536, 0, 0x11)), LoadOutcome::Loaded);
    EXPECT_EQ(rom->imageSize, 65536);
    EXPECT_EQ(rom->image[0xFFFF], 0x11);
    EXPECT_EQ(load(makeImage("shifted", 65536, 1, 0x22)), LoadOutcome::Refused);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, kRomLocationWrong);
    EXPECT_EQ(prompts.messages[0].title, "TaVO Error");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
}

TEST_F(RomLoading, a_32k_image_fits_exactly_at_0x8000_but_not_at_0x8001)
{
    EXPECT_EQ(load(makeImage("fits", 32768, 0x8000, 0x33)), LoadOutcome::Loaded);
    EXPECT_EQ(load(makeImage("late", 32768, 0x8001, 0x44)), LoadOutcome::Refused);
    EXPECT_EQ(prompts.messages.back().text, kRomLocationWrong);
}

TEST_F(RomLoading, a_file_over_64k_is_too_large_whatever_the_offset)
{
    EXPECT_EQ(load(makeImage("huge", 65537, 0, 0)), LoadOutcome::Refused);
    EXPECT_EQ(prompts.messages.back().text, kRomTooLarge);
    EXPECT_FALSE(rom->loaded);
}

TEST_F(RomLoading, an_image_file_that_cannot_be_opened_is_refused_with_its_path_and_the_reason_before_anything_is_asked)
{
    EXPECT_EQ(load(dir.file("absent.bin")), LoadOutcome::Refused);
    EXPECT_EQ(prompts.messages.back().text,
              "Unable to open the ROM image file.\n" + dir.file("absent.bin") + "\nNo such file or folder.");
    EXPECT_EQ(prompts.romInformationRuns, 0);
    EXPECT_TRUE(fileMissing(dir.file("absent.tbl")));
}

TEST_F(RomLoading, cancel_in_the_rom_information_step_of_a_new_image_cancels_the_load_and_writes_nothing)
{
    ASSERT_EQ(load(makeImage("good", 32768, 0x8000, 0xAA, 0x9000)), LoadOutcome::Loaded);
    const std::unique_ptr<RomImage> before = std::make_unique<RomImage>(*rom);
    const std::string path = dir.file("new.bin");
    test::writeBytes(path, std::vector<std::uint8_t>(16384, 0x77));
    prompts.romInformation = [](RomImage& record) {
        record.loadOffset = 0xC000;  // typed, then cancelled: the dialog leaves it unapplied
        return false;
    };
    EXPECT_EQ(load(path), LoadOutcome::Cancelled);
    EXPECT_EQ(prompts.romInformationRuns, 1);
    EXPECT_TRUE(fileMissing(dir.file("new.tbl")));
    EXPECT_EQ(rom->romPath, before->romPath);
    EXPECT_EQ(rom->loadOffset, 0x8000);
    EXPECT_EQ(rom->entryCount, 1);
    EXPECT_EQ(rom->image, before->image);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RomLoading, a_new_image_refused_at_the_offset_given_for_it_leaves_no_definition_file)
{
    const std::string path = dir.file("new.bin");
    test::writeBytes(path, std::vector<std::uint8_t>(32768, 0x77));
    prompts.romInformation = [](RomImage& record) {
        record.loadOffset = 0xC000;
        return true;
    };
    EXPECT_EQ(load(path), LoadOutcome::Refused);
    EXPECT_EQ(prompts.messages.back().text, kRomLocationWrong);
    EXPECT_TRUE(fileMissing(dir.file("new.tbl")));
    EXPECT_FALSE(rom->loaded);
}

TEST_F(RomLoading, a_definition_file_that_cannot_be_read_refuses_the_load_and_keeps_the_previous_image)
{
    ASSERT_EQ(load(makeImage("good", 32768, 0x8000, 0xAA, 0x9000)), LoadOutcome::Loaded);
    const std::unique_ptr<RomImage> before = std::make_unique<RomImage>(*rom);
    const std::string bad = makeImage("bad", 16384, 0xC000, 0xBB);
    std::filesystem::remove(dir.file("bad.tbl"));
    std::filesystem::create_directory(dir.file("bad.tbl"));
    EXPECT_EQ(load(bad), LoadOutcome::Refused);
    ASSERT_EQ(prompts.messages.size(), 1u) << "the reader's message only";
    EXPECT_EQ(prompts.messages[0].text.rfind("Unable to read the table definition file:\n", 0), 0u);
    EXPECT_EQ(prompts.romInformationRuns, 0);
    EXPECT_EQ(rom->romPath, before->romPath);
    EXPECT_EQ(rom->tblPath, before->tblPath);
    EXPECT_EQ(rom->entryCount, 1);
    EXPECT_EQ(rom->image, before->image);
    EXPECT_EQ(prompts.repaints, 2) << "the window shows the kept path again";
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("bad.tbl")));
}

#ifndef _WIN32  // std::filesystem on Windows walks no path this long; AtomicFileWindowsTest covers it there
TEST_F(RomLoading, a_path_longer_than_259_characters_is_kept_whole_and_no_file_is_made_at_a_cut_path)
{
    std::filesystem::path deep = dir.path();
    for (int i = 0; i < 6; ++i)
        deep /= std::string(60, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    const std::string path = (deep / "cal.bin").string();
    ASSERT_GT(path.size(), 400u);
    test::writeBytes(path, std::vector<std::uint8_t>(16, 0x11));
    test::writeText((deep / "cal.tbl").string(), "8000\nLong\nTests\n9000 0 n Deep X Y\n");
    ASSERT_EQ(load(path), LoadOutcome::Loaded);
    EXPECT_EQ(rom->romPath, path);
    EXPECT_EQ(rom->tblPath, (deep / "cal.tbl").string());
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(rom->tables[0].name, "Deep");
    EXPECT_EQ(prompts.romInformationRuns, 0);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2u) << "no stray file at a cut path";
}
#endif

TEST_F(RomLoading, an_empty_file_loads_and_changes_no_byte)
{
    rom->image[0x8000] = 0x5A;
    EXPECT_EQ(load(makeImage("empty", 0, 0x8000, 0)), LoadOutcome::Loaded);
    EXPECT_TRUE(rom->loaded);
    EXPECT_EQ(rom->imageSize, 0);
    EXPECT_EQ(rom->image[0x8000], 0x5A);
}

TEST_F(RomLoading, a_smaller_image_leaves_the_old_bytes_below_its_range)
{
    ASSERT_EQ(load(makeImage("big", 32768, 0x8000, 0xAA)), LoadOutcome::Loaded);
    ASSERT_EQ(load(makeImage("small", 16384, 0xC000, 0xBB)), LoadOutcome::Loaded);
    EXPECT_EQ(rom->image[0x8000], 0xAA);
    EXPECT_EQ(rom->image[0xBFFF], 0xAA);
    EXPECT_EQ(rom->image[0xC000], 0xBB);
    EXPECT_EQ(rom->romPath, dir.file("small.bin"));
    EXPECT_EQ(rom->tblPath, dir.file("small.tbl"));
    EXPECT_EQ(prompts.repaints, 2);
}

TEST_F(RomLoading, a_refused_file_leaves_paths_definitions_information_and_bytes_as_they_were)
{
    ASSERT_EQ(load(makeImage("good", 32768, 0x8000, 0xAA, 0x9000)), LoadOutcome::Loaded);
    rom->image[0x9000] = 3;
    rom->tables[1].name = "Last held";  // a slot above the entries in use
    const std::unique_ptr<RomImage> before = std::make_unique<RomImage>(*rom);
    const std::string bad = makeImage("bad", 32768, 0x9000, 0xBB, 0xA000);
    test::writeText(dir.file("bad.tbl"), "9000\nImage bad\nTests\nchecksum Other 1 2\n"
                                         "a000 0 n First X Y\na100 0 n Second X Y\n");
    ASSERT_EQ(load(bad), LoadOutcome::Refused);
    EXPECT_EQ(rom->romPath, before->romPath);
    EXPECT_EQ(rom->tblPath, before->tblPath);
    EXPECT_EQ(rom->storedDefinitions, before->storedDefinitions);
    EXPECT_EQ(rom->loadOffset, 0x8000);
    EXPECT_EQ(rom->description, "Image good");
    EXPECT_EQ(rom->checksumName, before->checksumName);
    ASSERT_EQ(rom->entryCount, 1);
    EXPECT_EQ(rom->tables[0].name, "Table good");
    EXPECT_EQ(rom->tables[0].image, &rom->image) << "still bound to this record's buffer";
    EXPECT_EQ(rom->tables[1].name, "Last held");
    EXPECT_EQ(rom->image, before->image);
}

TEST_F(RomLoading, binding_gives_every_entry_its_image_index_and_row_count)
{
    const std::string path = makeImage("bound", 32768, 0x8000, 0x00);
    test::writeText(dir.file("bound.tbl"),
                    "8000\nd\na\n9000 0 n N X Y\n9100 1 n F X Y\n9200 3 n C X Y\n9300 2 n S X Y\n");
    std::vector<std::uint8_t> bytes(32768, 0);
    bytes[0x1000] = 4;           // Normal count byte
    bytes[0x1105] = 0xFF;        // FiveByte end after one row
    bytes[0x1300] = 7;           // Signed count byte
    test::writeBytes(path, bytes);
    ASSERT_EQ(load(path), LoadOutcome::Loaded);
    ASSERT_EQ(rom->entryCount, 4);
    EXPECT_EQ(rom->tables[0].count, 4);
    EXPECT_EQ(rom->tables[1].count, 1);
    EXPECT_EQ(rom->tables[2].count, 0);
    EXPECT_EQ(rom->tables[3].count, 7);
    EXPECT_EQ(rom->tables[3].index, 3);
    EXPECT_EQ(rom->tables[3].image, &rom->image);
}

TEST_F(RomLoading, a_missing_definition_file_is_made_through_the_rom_information_step)
{
    const std::string path = dir.file("new.bin");
    test::writeBytes(path, std::vector<std::uint8_t>(16384, 0x77));
    prompts.romInformation = [](RomImage& record) {
        record.loadOffset = 0xC000;
        return true;
    };
    ASSERT_EQ(load(path), LoadOutcome::Loaded);
    EXPECT_EQ(rom->loadOffset, 0xC000);
    EXPECT_EQ(rom->image[0xC000], 0x77);
    EXPECT_FALSE(test::readText(dir.file("new.tbl")).empty());
}

}  // namespace
}  // namespace tavo
