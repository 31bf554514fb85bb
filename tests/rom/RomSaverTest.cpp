#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "rom/RomSaver.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

TEST(SaveAsNames, a_name_with_an_extension_is_kept_and_one_without_gets_bin)
{
    EXPECT_EQ(saveAsPathsFor("D:\\cal\\t2").romPath, "D:\\cal\\t2.bin");
    EXPECT_EQ(saveAsPathsFor("D:\\cal\\t2").tblPath, "D:\\cal\\t2.tbl");
    EXPECT_EQ(saveAsPathsFor("D:\\cal\\t2.rom").romPath, "D:\\cal\\t2.rom");
    EXPECT_EQ(saveAsPathsFor("D:\\cal\\t2.rom").tblPath, "D:\\cal\\t2.tbl");
    EXPECT_EQ(saveAsPathsFor("D:\\cal.old\\t2").romPath, "D:\\cal.old\\t2.bin");
    EXPECT_EQ(saveAsPathsFor("D:\\cal.old\\t2").tblPath, "D:\\cal.old\\t2.tbl");
    EXPECT_EQ(saveAsPathsFor("/cal.old/t2").romPath, "/cal.old/t2.bin");
    EXPECT_EQ(saveAsPathsFor("D:\\cal\\t2.").romPath, "D:\\cal\\t2.");
    EXPECT_EQ(saveAsPathsFor("D:\\cal\\t2.").tblPath, "D:\\cal\\t2.tbl");
}

class RomSaving : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<RomImage> rom = std::make_unique<RomImage>();

    void loadSixteenKilobytesAtC000()
    {
        const std::string path = dir.file("cal.bin");
        std::vector<std::uint8_t> bytes(16384);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(i * 7);
        test::writeBytes(path, bytes);
        test::writeText(dir.file("cal.tbl"), "c000\nd\na\n9000 0 n T X Y\n");
        ASSERT_EQ(loadRomImageFrom(*rom, path, prompts), LoadOutcome::Loaded);
    }
};

TEST_F(RomSaving, nothing_is_saved_before_an_image_was_loaded)
{
    rom->romPath = dir.file("never.bin");
    EXPECT_FALSE(saveRomImage(*rom, prompts));
    EXPECT_FALSE(saveRomImageAs(*rom, prompts));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(prompts.saveRequests.empty());
}

TEST_F(RomSaving, save_writes_the_image_range_with_the_changed_byte_in_place)
{
    loadSixteenKilobytesAtC000();
    rom->image[0xC010] = 0xEE;
    rom->image[0x8000] = 0x99;  // outside the image file: never written
    ASSERT_TRUE(saveRomImage(*rom, prompts));
    const auto bytes = test::readBytes(dir.file("cal.bin"));
    ASSERT_EQ(bytes.size(), 16384u);
    EXPECT_EQ(bytes[0x10], 0xEE);
    EXPECT_EQ(bytes[0], 0);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "ROM Image Saved.");
    EXPECT_EQ(prompts.messages[0].title, "Tavo");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
}

TEST_F(RomSaving, a_failed_save_is_reported_and_never_claims_success)
{
    loadSixteenKilobytesAtC000();
    rom->romPath = dir.file("no-such-folder/cal.bin");
    EXPECT_FALSE(saveRomImage(*rom, prompts));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              "Unable to save the ROM image file:\n" + dir.file("no-such-folder/cal.bin") + "\nNo such file or folder.");
    EXPECT_EQ(prompts.messages[0].title, "TaVO Error");
}

TEST_F(RomSaving, save_as_keeps_a_long_name_whole)
{
    loadSixteenKilobytesAtC000();
    const std::string folder = dir.file(std::string(200, 'f'));
    std::filesystem::create_directory(folder);
    const std::string chosen = folder + "/" + std::string(200, 'n');
    prompts.saveNames.push_back(chosen);
    ASSERT_TRUE(saveRomImageAs(*rom, prompts));
    EXPECT_EQ(rom->romPath, chosen + ".bin");
    EXPECT_EQ(rom->tblPath, chosen + ".tbl");
    EXPECT_EQ(test::readBytes(chosen + ".bin").size(), 16384u);
}

TEST_F(RomSaving, save_as_writes_both_files_under_the_new_name_without_a_message)
{
    loadSixteenKilobytesAtC000();
    prompts.saveNames.push_back(dir.file("copy"));
    ASSERT_TRUE(saveRomImageAs(*rom, prompts));
    ASSERT_EQ(prompts.saveRequests.size(), 1u);
    EXPECT_EQ(prompts.saveRequests[0].title, "Save Rom Image As...");
    EXPECT_EQ(prompts.saveRequests[0].initialPath, dir.file("cal.bin"));
    EXPECT_EQ(rom->romPath, dir.file("copy.bin"));
    EXPECT_EQ(rom->tblPath, dir.file("copy.tbl"));
    EXPECT_EQ(test::readBytes(dir.file("copy.bin")).size(), 16384u);
    EXPECT_EQ(test::readText(dir.file("copy.tbl")).rfind("c000\r\n", 0), 0u);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RomSaving, save_as_onto_an_existing_file_replaces_it_without_asking)
{
    loadSixteenKilobytesAtC000();
    test::writeText(dir.file("other.bin"), "old content");
    prompts.saveNames.push_back(dir.file("other.bin"));
    ASSERT_TRUE(saveRomImageAs(*rom, prompts));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(test::readBytes(dir.file("other.bin")).size(), 16384u);
}

TEST_F(RomSaving, a_cancelled_or_failed_save_as_keeps_the_old_paths)
{
    loadSixteenKilobytesAtC000();
    EXPECT_FALSE(saveRomImageAs(*rom, prompts));  // cancelled
    prompts.saveNames.push_back(dir.file("missing/copy.bin"));
    EXPECT_FALSE(saveRomImageAs(*rom, prompts));
    EXPECT_EQ(rom->romPath, dir.file("cal.bin"));
    EXPECT_EQ(rom->tblPath, dir.file("cal.tbl"));
    EXPECT_FALSE(prompts.messages.empty());
}

}  // namespace
}  // namespace tavo
