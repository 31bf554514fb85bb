#include <gtest/gtest.h>

#include <memory>

#include "rom/RomImage.h"
#include "rom/RomInformation.h"
#include "rom/RomLoader.h"
#include "rom/RomMessages.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

TEST(RomInformationForm, shows_the_offset_as_four_hex_digits_and_sizes_with_one_decimal)
{
    auto rom = std::make_unique<RomImage>();
    rom->loadOffset = 0x8000;
    rom->injectors = 33.25F;
    rom->boost = 5.0F;
    rom->mapRange = kMap25Bar;
    RomInformationForm form = romInformationForm(*rom);
    EXPECT_EQ(form.offset, "8000");
    EXPECT_EQ(form.injectors, "33.3");
    EXPECT_EQ(form.boost, "5.0");
    EXPECT_EQ(form.mapRange, kMap25Bar);
    rom->loadOffset = 0;
    rom->mapRange = 0;
    form = romInformationForm(*rom);
    EXPECT_EQ(form.offset, "0000");
    EXPECT_EQ(form.mapRange, 0) << "no MAP choice shown";
}

TEST(RomInformationForm, texts_that_do_not_convert_keep_the_previous_values)
{
    auto rom = std::make_unique<RomImage>();
    rom->loadOffset = 0x8000;
    rom->injectors = 30.0F;
    rom->boost = 12.0F;
    rom->mapRange = kMap3Bar;
    RomInformationForm form;
    form.offset = "zz";
    form.injectors = "lots";
    form.boost = "";
    form.description = std::string(300, 'd');
    form.mapRange = 0;
    applyRomInformationForm(*rom, form);
    EXPECT_EQ(rom->loadOffset, 0x8000);
    EXPECT_FLOAT_EQ(rom->injectors, 30.0F);
    EXPECT_FLOAT_EQ(rom->boost, 12.0F);
    EXPECT_EQ(rom->mapRange, kMap3Bar);
    EXPECT_EQ(rom->description.size(), 255u);

    form.offset = "  12345";
    form.injectors = "42.5";
    form.mapRange = kMap2Bar;
    applyRomInformationForm(*rom, form);
    EXPECT_EQ(rom->loadOffset, 0x1234) << "at most four digits are taken";
    EXPECT_FLOAT_EQ(rom->injectors, 42.5F);
    EXPECT_EQ(rom->mapRange, kMap2Bar);
}

class Relocation : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<RomImage> rom = std::make_unique<RomImage>();

    void SetUp() override
    {
        std::vector<std::uint8_t> bytes(16384);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(i % 251 + 1);
        test::writeBytes(dir.file("cal.bin"), bytes);
        test::writeText(dir.file("cal.tbl"), "8000\nd\na\n9000 3 n T X Y\n");
        ASSERT_EQ(loadRomImageFrom(*rom, dir.file("cal.bin"), prompts), LoadOutcome::Loaded);
    }
    // The user types a new offset in the dialog and presses OK.
    void typeOffset(const std::string& offset)
    {
        prompts.romInformation = [this, offset](RomImage& record) {
            RomInformationForm form = romInformationForm(record);
            form.offset = offset;
            acceptRomInformation(record, form, prompts);
            return true;
        };
    }
};

TEST_F(Relocation, yes_moves_the_image_with_its_unsaved_edits_to_the_new_offset_and_clears_the_rest)
{
    rom->image[0x8010] = 0xEE;
    typeOffset("c000");
    prompts.answers.push_back(Answer::Yes);
    editRomInformation(*rom, prompts);
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].text, "Do you wish to move this image now?");
    EXPECT_EQ(prompts.questions[0].title, "Offset Changed");
    EXPECT_EQ(prompts.questions[0].buttons, QuestionButtons::YesNo);
    EXPECT_EQ(rom->loadOffset, 0xC000);
    EXPECT_EQ(rom->image[0xC000], 1);
    EXPECT_EQ(rom->image[0xC010], 0xEE) << "the edit moves with its byte";
    EXPECT_EQ(rom->image[0xFFFF], 16383 % 251 + 1);
    EXPECT_EQ(rom->image[0x8000], 0);
    EXPECT_EQ(rom->image[0xBFFF], 0);
    EXPECT_EQ(rom->entryCount, 1) << "definitions read back from the file just written";
    EXPECT_EQ(test::readText(dir.file("cal.tbl")).rfind("c000\r\n", 0), 0u);
}

TEST_F(Relocation, no_keeps_the_bytes_and_stores_the_new_offset)
{
    typeOffset("c000");
    prompts.answers.push_back(Answer::No);
    editRomInformation(*rom, prompts);
    EXPECT_EQ(rom->loadOffset, 0xC000);
    EXPECT_EQ(rom->image[0x8000], 1);
    EXPECT_EQ(rom->image[0xC000], 0);
    EXPECT_EQ(test::readText(dir.file("cal.tbl")).rfind("c000\r\n", 0), 0u);
}

TEST_F(Relocation, an_unchanged_offset_rewrites_the_file_and_asks_nothing)
{
    test::writeText(dir.file("cal.tbl"), "8000\nold\na\n");
    typeOffset("8000");
    editRomInformation(*rom, prompts);
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_NE(test::readText(dir.file("cal.tbl")).find("; This file written by TaVO"), std::string::npos);
}

TEST_F(Relocation, an_offset_where_the_image_would_pass_0xffff_is_refused)
{
    typeOffset("d000");
    editRomInformation(*rom, prompts);
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(rom->loadOffset, 0x8000);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, kRomLocationWrong);
    EXPECT_EQ(test::readText(dir.file("cal.tbl")).rfind("8000\r\n", 0), 0u);
    EXPECT_EQ(rom->image[0x8000], 1);
}

TEST_F(Relocation, cancel_changes_nothing_and_writes_nothing)
{
    const std::string before = test::readText(dir.file("cal.tbl"));
    editRomInformation(*rom, prompts);  // the fake cancels by default
    EXPECT_EQ(prompts.romInformationRuns, 1);
    EXPECT_EQ(test::readText(dir.file("cal.tbl")), before);
    EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(Relocation, a_missing_image_file_still_moves_the_bytes_held)
{
    typeOffset("c000");
    prompts.answers.push_back(Answer::Yes);
    std::filesystem::remove(dir.file("cal.bin"));
    editRomInformation(*rom, prompts);
    EXPECT_EQ(rom->image[0xC000], 1);
    EXPECT_EQ(rom->image[0xFFFF], 16383 % 251 + 1);
    EXPECT_EQ(rom->image[0x8000], 0);
}

}  // namespace
}  // namespace tavo
