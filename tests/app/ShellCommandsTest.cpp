#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "app/AppState.h"
#include "app/MenuLayout.h"
#include "SampleCalibration.h"
#include "app/ShellCommands.h"
#include "rom/RomInformation.h"
#include "tables/TableFileWriter.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

class UnsavedChangesGuard : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();

    std::string makeImage(const std::string& name, int offset, std::uint8_t fill)
    {
        test::writeBytes(dir.file(name + ".bin"), std::vector<std::uint8_t>(16384, fill));
        char header[16];
        std::snprintf(header, sizeof header, "%x\n", offset);
        test::writeText(dir.file(name + ".tbl"), std::string(header) + "d\na\n9000 3 n T X Y\n");
        return dir.file(name + ".bin");
    }
    void loadWorking()
    {
        prompts.openNames.push_back(makeImage("work", 0xC000, 0x11));
        ASSERT_EQ(loadWorkingImage(*state, prompts), LoadOutcome::Loaded);
    }
    std::size_t questionsAsked() const { return prompts.questions.size(); }
};

TEST_F(UnsavedChangesGuard, closing_right_after_start_up_asks_nothing)
{
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    EXPECT_EQ(questionsAsked(), 0u);
}

TEST_F(UnsavedChangesGuard, an_edit_makes_closing_ask_and_cancel_keeps_the_window)
{
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    prompts.answers.push_back(Answer::Cancel);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Stay);
    ASSERT_EQ(questionsAsked(), 1u);
    EXPECT_EQ(prompts.questions[0].text, "Do you want to save your changes now?");
    EXPECT_EQ(prompts.questions[0].title, "Unsaved Changes");
    EXPECT_EQ(prompts.questions[0].buttons, QuestionButtons::YesNoCancel);
}

TEST_F(UnsavedChangesGuard, no_closes_without_writing_the_file)
{
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    prompts.answers.push_back(Answer::No);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    EXPECT_EQ(test::readBytes(dir.file("work.bin"))[0x10], 0x11);
}

TEST_F(UnsavedChangesGuard, yes_saves_then_closes)
{
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    prompts.answers.push_back(Answer::Yes);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    EXPECT_EQ(test::readBytes(dir.file("work.bin"))[0x10], 0x99);
    EXPECT_EQ(prompts.messages.back().text, "ROM Image Saved.");
}

TEST_F(UnsavedChangesGuard, yes_with_a_save_that_fails_keeps_the_window_open)
{
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    state->workingImage.romPath = dir.file("gone/work.bin");
    prompts.answers.push_back(Answer::Yes);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Stay);
    EXPECT_EQ(prompts.messages.back().title, "TaVO Error");
}

TEST_F(UnsavedChangesGuard, an_edit_undone_by_hand_or_saved_asks_nothing)
{
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    state->workingImage.image[0xC010] = 0x11;
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    state->workingImage.image[0xC010] = 0x42;
    ASSERT_TRUE(saveWorkingImage(*state, prompts));
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    EXPECT_EQ(questionsAsked(), 0u);
}

TEST_F(UnsavedChangesGuard, a_change_outside_the_image_file_range_counts_too)
{
    loadWorking();
    state->workingImage.image[0x0100] = 1;  // below the image: the whole 64 KiB is compared
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Stay);
}

TEST_F(UnsavedChangesGuard, a_cancelled_or_refused_load_never_makes_edits_look_saved)
{
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    prompts.answers = {Answer::No, Answer::No};  // go on without saving
    EXPECT_EQ(loadWorkingImage(*state, prompts), LoadOutcome::Cancelled);
    test::writeBytes(dir.file("huge.bin"), std::vector<std::uint8_t>(70000, 0));
    test::writeText(dir.file("huge.tbl"), "0\nd\na\n");
    prompts.openNames.push_back(dir.file("huge.bin"));
    EXPECT_EQ(loadWorkingImage(*state, prompts), LoadOutcome::Refused);
    EXPECT_TRUE(hasUnsavedChanges(*state));
}

TEST_F(UnsavedChangesGuard, loading_or_scanning_over_edits_asks_first_and_cancel_loads_nothing)
{
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    prompts.openNames.push_back(makeImage("other", 0x8000, 0x22));
    prompts.answers = {Answer::Cancel, Answer::Cancel};
    EXPECT_FALSE(loadWorkingImage(*state, prompts));
    EXPECT_FALSE(scanWorkingImage(*state, prompts));
    ASSERT_EQ(questionsAsked(), 2u);
    EXPECT_EQ(prompts.questions[1].text, "Do you want to save your changes now?");
    EXPECT_EQ(prompts.questions[1].buttons, QuestionButtons::YesNoCancel);
    EXPECT_EQ(prompts.openRequests.size(), 1u) << "no file was asked for after Cancel";
    EXPECT_EQ(state->workingImage.romPath, dir.file("work.bin"));
    EXPECT_EQ(state->workingImage.image[0xC010], 0x99);
}

TEST_F(UnsavedChangesGuard, yes_saves_before_the_load_and_a_save_that_fails_loads_nothing)
{
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    prompts.openNames.push_back(makeImage("other", 0x8000, 0x22));
    prompts.answers.push_back(Answer::Yes);
    EXPECT_EQ(loadWorkingImage(*state, prompts), LoadOutcome::Loaded);
    EXPECT_EQ(test::readBytes(dir.file("work.bin"))[0x10], 0x99);

    state->workingImage.image[0x8010] = 0x77;
    state->workingImage.romPath = dir.file("gone/other.bin");
    prompts.answers.push_back(Answer::Yes);
    EXPECT_FALSE(scanWorkingImage(*state, prompts));
    EXPECT_EQ(prompts.openRequests.size(), 2u);
    EXPECT_EQ(state->workingImage.image[0x8010], 0x77);
}

TEST_F(UnsavedChangesGuard, relocation_makes_closing_ask)
{
    loadWorking();
    prompts.romInformation = [&](RomImage& record) {
        RomInformationForm form = romInformationForm(record);
        form.offset = "8000";
        acceptRomInformation(record, form, prompts);
        return true;
    };
    prompts.answers.push_back(Answer::Yes);  // move the image now
    editRomInformation(state->workingImage, prompts);
    EXPECT_EQ(state->workingImage.image[0x8000], 0x11);
    EXPECT_EQ(state->workingImage.image[0xC000 + 16384 - 1], 0);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Stay);
}

TEST_F(UnsavedChangesGuard, changed_definitions_alone_make_closing_ask_and_yes_stores_only_the_tbl_file)
{
    loadWorking();
    const std::string image = test::readText(dir.file("work.bin"));
    state->workingImage.tables[0].name = "Boost Target";
    state->workingImage.author = "Tuner";
    prompts.answers.push_back(Answer::Yes);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    ASSERT_EQ(questionsAsked(), 1u);
    EXPECT_NE(test::readText(dir.file("work.tbl")).find("Boost_Target"), std::string::npos);
    EXPECT_EQ(test::readText(dir.file("work.bin")), image) << "the unchanged image is not written";
    EXPECT_TRUE(prompts.messages.empty()) << "no \"ROM Image Saved.\" for an image not saved";
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    EXPECT_EQ(questionsAsked(), 1u) << "stored: nothing left to ask";

    state->workingImage.tables[0].name = "Other";
    state->workingImage.tblPath = dir.file("gone/work.tbl");
    prompts.answers.push_back(Answer::Yes);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Stay) << "a failed save stops";
}

TEST_F(UnsavedChangesGuard, sorting_the_definitions_is_no_change_but_undoing_back_to_the_saved_state_clears_the_question)
{
    loadWorking();
    RomImage& rom = state->workingImage;
    rom.tables[1] = rom.tables[0];
    rom.tables[1].name = "Second";
    rom.entryCount = 2;
    ASSERT_TRUE(saveTableData(*state, prompts));
    std::swap(rom.tables[0], rom.tables[1]);
    EXPECT_FALSE(hasUnsavedChanges(*state)) << "the order of the definitions is not stored data";

    state->history.restart(rom);
    rom.image[0xC010] = 0x99;
    state->history.record(rom, "Edit Constant");
    rom.tables[0].name = "Changed";
    ASSERT_TRUE(saveTableData(*state, prompts));
    state->history.record(rom, "Change Definition");
    EXPECT_TRUE(hasUnsavedChanges(*state));
    state->history.undo(rom);
    EXPECT_TRUE(hasUnsavedChanges(*state)) << "the .tbl file holds the change undone: unsaved";
    state->history.redo(rom);
    state->history.undo(rom);
    state->history.undo(rom);
    EXPECT_TRUE(definitionsUnsaved(rom));
    EXPECT_FALSE(imageBytesUnsaved(*state)) << "the bytes are as loaded again";
    state->history.redo(rom);
    state->history.redo(rom);
    rom.image[0xC010] = 0x11;
    state->history.record(rom, "Edit Constant");
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    EXPECT_EQ(questionsAsked(), 0u);
}

TEST_F(UnsavedChangesGuard, a_relocation_is_one_step_and_undone_in_memory_it_leaves_the_tbl_file_to_save)
{
    loadWorking();
    prompts.romInformation = [&](RomImage& record) {
        RomInformationForm form = romInformationForm(record);
        form.offset = "8000";
        acceptRomInformation(record, form, prompts);
        return true;
    };
    prompts.answers.push_back(Answer::Yes);  // move the image now
    editWorkingRomInformation(*state, prompts);
    EXPECT_EQ(state->history.undoName(), "Relocate Image");
    EXPECT_EQ(state->workingImage.image[0x8000], 0x11);
    EXPECT_NE(test::readText(dir.file("work.tbl")).find("8000"), std::string::npos);

    ASSERT_TRUE(state->history.undo(state->workingImage));
    EXPECT_EQ(state->workingImage.loadOffset, 0xC000);
    EXPECT_EQ(state->workingImage.image[0xC000], 0x11);
    EXPECT_EQ(state->workingImage.image[0x8000], 0);
    EXPECT_FALSE(imageBytesUnsaved(*state));
    EXPECT_TRUE(definitionsUnsaved(state->workingImage)) << "the .tbl file still says 8000";
    prompts.answers.push_back(Answer::Yes);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    EXPECT_EQ(test::readText(dir.file("work.tbl")).rfind("c000\r\n", 0), 0u);

    prompts.romInformation = [&](RomImage& record) {
        RomInformationForm form = romInformationForm(record);
        form.author = "Tuner";
        acceptRomInformation(record, form, prompts);
        return true;
    };
    editWorkingRomInformation(*state, prompts);
    EXPECT_EQ(state->history.undoName(), "ROM Information");
}

TEST_F(UnsavedChangesGuard, a_rom_scan_starts_a_new_history_and_its_definitions_are_one_step_to_save_or_undo)
{
    ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    state->history.record(state->workingImage, "Edit Constant");
    prompts.answers.push_back(Answer::No);
    prompts.openNames.push_back(dir.file("sample.bin"));
    const auto scan = scanWorkingImage(*state, prompts);
    ASSERT_TRUE(scan);
    EXPECT_EQ(scan->added.size(), 3u);
    EXPECT_EQ(state->history.size(), 1u) << "the scan's own step in a new history";
    EXPECT_EQ(state->history.undoName(), "ROM Scan");
    EXPECT_FALSE(imageBytesUnsaved(*state)) << "the image scanned is as loaded";
    prompts.answers.push_back(Answer::Cancel);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Stay) << "the definitions found are unsaved";

    state->history.undo(state->workingImage);
    EXPECT_EQ(state->workingImage.entryCount, 11);
    const std::size_t asked = questionsAsked();
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
    EXPECT_EQ(questionsAsked(), asked);
}

TEST_F(UnsavedChangesGuard, loading_another_image_starts_a_new_history)
{
    loadWorking();
    state->workingImage.image[0xC010] = 0x99;
    state->history.record(state->workingImage, "Edit Constant");
    prompts.answers.push_back(Answer::No);
    prompts.openNames.push_back(makeImage("other", 0x8000, 0x22));
    ASSERT_EQ(loadWorkingImage(*state, prompts), LoadOutcome::Loaded);
    EXPECT_FALSE(state->history.canUndo());
}

TEST_F(UnsavedChangesGuard, loading_a_comparison_image_never_makes_closing_ask)
{
    loadWorking();
    prompts.openNames.push_back(makeImage("other", 0x8000, 0x22));
    loadComparisonImage(*state, prompts);
    EXPECT_TRUE(state->comparisonLoaded);
    EXPECT_EQ(confirmClose(*state, prompts), CloseDecision::Close);
}

TEST_F(UnsavedChangesGuard, a_cancelled_comparison_load_draws_no_comparison)
{
    loadComparisonImage(*state, prompts);
    EXPECT_FALSE(state->comparisonLoaded);
}

TEST(SaveTableData, writes_the_working_definitions_and_reports_a_failure)
{
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    auto state = std::make_unique<AppState>();
    EXPECT_FALSE(saveTableData(*state, prompts)) << "nothing chosen yet: nothing to write";
    EXPECT_TRUE(prompts.messages.empty());
    state->workingImage.tblPath = dir.file("cal.tbl");
    EXPECT_TRUE(saveTableData(*state, prompts));
    EXPECT_EQ(test::readText(dir.file("cal.tbl")).rfind("   0\r\nDescription\r\n", 0), 0u);
    state->workingImage.tblPath = dir.file("no/cal.tbl");
    EXPECT_FALSE(saveTableData(*state, prompts));
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST(StartUp, logging_configuration_comes_from_the_file_or_is_created_from_the_defaults)
{
    test::TempDir dir;
    auto state = std::make_unique<AppState>();
    loadLoggingConfiguration(*state, dir.file("Logging.cfg"));
    EXPECT_EQ(state->loggingConfig.nameText(), "87 Turbo II");
    EXPECT_EQ(test::readText(dir.file("Logging.cfg")).size(), 1356u);

    state->loggingConfig.channels[0].setTitle("Boost PSI");
    ASSERT_TRUE(writeLoggingConfig(state->loggingConfig, dir.file("Logging.cfg")));
    auto restarted = std::make_unique<AppState>();
    loadLoggingConfiguration(*restarted, dir.file("Logging.cfg"));
    EXPECT_EQ(restarted->loggingConfig.channels[0].titleText(), "Boost PSI");
}

TEST(StartUp, a_logging_configuration_that_cannot_be_written_is_said_once_on_stderr)
{
    test::TempDir dir;
    auto state = std::make_unique<AppState>();
    std::ostringstream err;
    loadLoggingConfiguration(*state, dir.file("no/Logging.cfg"), err);
    EXPECT_EQ(state->loggingConfig.nameText(), "87 Turbo II") << "the defaults hold for this run";
    EXPECT_FALSE(storeLoggingConfiguration(*state, dir.file("no/Logging.cfg"), err));
    EXPECT_EQ(err.str(), "tavo: unable to write " + dir.file("no/Logging.cfg") +
                             ": No such file or folder. The logging settings will not be kept after this run.\n");
}

TEST(Accelerators, every_accelerator_reaches_a_command_of_the_menu)
{
    std::vector<int> menuIds;
    std::function<void(const std::vector<MenuEntry>&)> collect = [&](const std::vector<MenuEntry>& entries) {
        for (const MenuEntry& entry : entries) {
            if (entry.kind == MenuEntry::Kind::Command)
                menuIds.push_back(entry.id);
            collect(entry.children);
        }
    };
    collect(mainMenu());
    for (const Accelerator& accelerator : accelerators())
        EXPECT_NE(std::find(menuIds.begin(), menuIds.end(), accelerator.id), menuIds.end()) << accelerator.keys;
}

}  // namespace
}  // namespace tavo
