// The Quick Viewer's commands without a window: what each one writes and
// stores, the one step it records, and what it tells the view to show.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SampleCalibration.h"
#include "rom/EditHistory.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/TableCells.h"
#include "tables/TableLookup.h"
#include "viewer/PointDrag.h"
#include "viewer/QuickViewerCommands.h"
#include "viewer/QuickViewerState.h"
#include "viewer/TableListEditing.h"

namespace tavo {
namespace {

class QuickViewerCommandsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::unique_ptr<RomImage> rom = std::make_unique<RomImage>();
    QuickViewerState state;
    test::ScriptedPrompts prompts;
    EditHistory history;
    QuickViewerCommands commands{*rom, state, prompts, &history};

    void SetUp() override
    {
        ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
        ASSERT_EQ(loadRomImageFrom(*rom, dir.file("sample.bin"), prompts), LoadOutcome::Loaded);
        prompts.messages.clear();
        history.restart(*rom);
        commands.open();
    }

    // Shows the entry of a Chrysler name, as a click on its row does.
    void show(const char* chrysler)
    {
        const int index = findTableIndexOrNone(*rom, chrysler);
        ASSERT_GE(index, 0) << chrysler;
        commands.show(index);
        state.graphMode = isGraphType(rom->tables[static_cast<std::size_t>(index)].type);
    }
    std::string tblText() const { return test::readText(rom->tblPath); }
};

TEST_F(QuickViewerCommandsTest, each_edit_is_one_step_named_for_its_action_and_keystrokes_join_until_another_table)
{
    EXPECT_FALSE(history.canUndo()) << "opening sorts the definitions without a step";
    EXPECT_EQ(rom->tables[0].name, "Accelerator Pump Fuel");

    show("OPTFLG");
    commands.setFlag(0, false);
    EXPECT_EQ(history.undoName(), "Change Bit");
    show("TRNTYP");
    EXPECT_TRUE(commands.chooseChoice(2));
    EXPECT_EQ(history.undoName(), "Change Choice");
    show("IDLSPD");
    commands.typeConstant("a");
    commands.typeConstant("ab");
    EXPECT_EQ(history.size(), 3U) << "two keystrokes, one step";
    EXPECT_EQ(rom->image[0x9142], 0xAB);
    show("REVLIM");
    show("IDLSPD");
    commands.typeConstant("1");
    EXPECT_EQ(history.size(), 4U) << "typing again after another table is a new step";
    EXPECT_FALSE(commands.chooseChoice(0)) << "not a choice entry";
    EXPECT_EQ(history.size(), 4U);

    // Tabular... and Scale... act only on a table in the graph view.
    int runs = 0;
    EXPECT_FALSE(commands.scaleTable([&](TableDef&) { ++runs; }));
    show("WOTTBL");
    EXPECT_TRUE(commands.editTable([&](TableDef&) { ++runs; }));
    EXPECT_EQ(history.size(), 4U) << "a Table Editor that changed nothing is no step";
    EXPECT_TRUE(commands.scaleTable([&](TableDef& def) {
        ++runs;
        writePoint(rom->image, def.type, def.offset, 0, 16, 10);
    }));
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(history.undoName(), "Scale Table");

    // A step taken back shows the table it changed, then the one shown before.
    show("REVLIM");
    const auto shown = commands.takeStep(false);
    ASSERT_TRUE(shown);
    EXPECT_FALSE(shown->relist);
    EXPECT_EQ(shown->select, (std::vector<std::string>{"WOT Fuel vs RPM", "Rev Limiter"}));
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, 0x9000, 0).y, 96);
}

TEST_F(QuickViewerCommandsTest, definitions_changed_added_and_deleted_are_stored_and_relisted_on_undo)
{
    show("KNKRET");
    const auto changed = commands.changeDefinition([](TableDef& def) { def.name = "Zeta knock"; });
    EXPECT_EQ(changed, "Zeta knock");
    EXPECT_NE(tblText().find("Zeta_knock"), std::string::npos);
    EXPECT_EQ(history.undoName(), "Change Definition");
    const auto undone = commands.takeStep(false);
    ASSERT_TRUE(undone);
    EXPECT_TRUE(undone->relist);
    EXPECT_EQ(undone->select.front(), "Knock Retard Correction") << "the name it has again";

    bool bound = false;
    const auto added = commands.addDefinition([&](TableDef& def) { bound = def.image == &rom->image && def.index >= 0; });
    EXPECT_EQ(added, "new");
    EXPECT_TRUE(bound);
    EXPECT_EQ(rom->entryCount, 12);
    EXPECT_EQ(history.undoName(), "Add Definition");

    // Delete asks; No deletes nothing and makes no step, but stores the definitions.
    show("WOTTBL");
    test::writeText(rom->tblPath, "stale");
    prompts.answers = {Answer::No, Answer::Yes};
    commands.deleteDefinition();
    EXPECT_EQ(prompts.questions.at(0).text, "Are you sure you want to delete: WOT Fuel vs RPM ?");
    EXPECT_NE(tblText().find("WOTTBL"), std::string::npos);
    EXPECT_EQ(history.undoName(), "Add Definition");
    commands.deleteDefinition();
    EXPECT_EQ(tblText().find("WOTTBL"), std::string::npos);
    const auto back = commands.takeStep(false);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->relist);
    EXPECT_EQ(back->select.front(), "WOT Fuel vs RPM") << "undone, the deleted table is shown";
}

TEST_F(QuickViewerCommandsTest, add_with_every_slot_in_use_is_refused_with_a_message)
{
    for (int i = rom->entryCount; i < kTableCapacity; ++i) {
        TableDef& def = rom->tables[static_cast<std::size_t>(i)];
        def = rom->tables[0];
        def.name = "filler " + std::to_string(i);
    }
    rom->entryCount = kTableCapacity;
    int runs = 0;
    EXPECT_FALSE(commands.addDefinition([&](TableDef&) { ++runs; }));
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(rom->entryCount, kTableCapacity);
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].text, kTableListFull);

    rom->entryCount = 0;
    EXPECT_FALSE(commands.relist());
    EXPECT_EQ(prompts.messages.back().text, "No Table Data to View");
}

TEST_F(QuickViewerCommandsTest, sorting_is_no_step_and_names_the_table_to_select_again)
{
    show("KNKRET");
    EXPECT_EQ(commands.sortBy(3), "Knock Retard Correction");
    EXPECT_EQ(rom->tables[0].chryslerName, "IDLSPD");
    EXPECT_EQ(rom->tables[3].index, 3) << "bound again";
    EXPECT_FALSE(history.canUndo());
}

TEST_F(QuickViewerCommandsTest, a_dropped_point_is_one_step_and_a_step_taken_back_ends_a_drag)
{
    show("MAPIDL");
    const int at = rom->tables[static_cast<std::size_t>(state.current)].offset;
    const TablePoint before = readPoint(rom->image, TableType::Normal, at, 2);
    EXPECT_FALSE(commands.dropPoint(440, 191)) << "no drag";
    ASSERT_TRUE(beginPointDrag(state, *rom, 400 + before.x, 261 - before.y));
    EXPECT_TRUE(commands.dropPoint(440, 191));
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, at, 2).x, 40);
    EXPECT_EQ(history.undoName(), "Drag Point");

    ASSERT_TRUE(beginPointDrag(state, *rom, 440, 191));
    const auto shown = commands.takeStep(false);
    ASSERT_TRUE(shown);
    EXPECT_FALSE(state.dragging);
    EXPECT_EQ(state.dragIndex, -1);
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, at, 2).x, before.x);
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, at, 2).y, before.y);
    EXPECT_FALSE(commands.dropPoint(440, 191)) << "the drag is over";
    EXPECT_FALSE(commands.takeStep(false)) << "nothing left to take back";
}

}  // namespace
}  // namespace tavo
