// The Quick Viewer's edits as steps of the history: one step per user action,
// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z in the viewer, and the list, graph and
// fields showing the state a step restores at once. Also "Differences...".
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

#include "SampleCalibration.h"
#include "rom/EditHistory.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "support/DialogChild.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/ScalePercentages.h"
#include "tables/TableCells.h"
#include "tables/TableLookup.h"
#include "viewer/ImageDiff.h"
#include "viewer/QuickViewerIds.h"
#include "viewer/QuickViewerState.h"
#include "viewer/qt/DifferencesDialog.h"
#include "viewer/qt/QuickViewerDialog.h"

namespace tavo {
namespace {

using test::child;

const QRgb kBlue = qRgb(0, 0, 255);

class QuickViewerUndoTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::unique_ptr<RomImage> working = std::make_unique<RomImage>();
    std::unique_ptr<RomImage> comparison = std::make_unique<RomImage>();
    bool comparisonLoaded = false;
    QuickViewerState state;
    ScalePercentages scale;
    test::ScriptedPrompts prompts;
    EditHistory history;
    std::function<void(TableDef&)> onInformation = [](TableDef&) {};
    std::function<void(TableDef&)> onScale = [](TableDef&) {};
    std::vector<std::string> differencesShown;
    std::string goTo;  // the Chrysler name "Differences" answers with
    std::unique_ptr<QuickViewerDialog> dialog;

    void SetUp() override
    {
        ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
        ASSERT_EQ(loadRomImageFrom(*working, dir.file("sample.bin"), prompts), LoadOutcome::Loaded);
        ASSERT_EQ(loadRomImageFrom(*comparison, dir.file("sample-compare.bin"), prompts), LoadOutcome::Loaded);
    }
    void TearDown() override { dialog.reset(); }

    QuickViewerDialog& open()
    {
        history.restart(*working);
        dialog = std::make_unique<QuickViewerDialog>(
            QuickViewerContext{*working, *comparison, comparisonLoaded, state, scale, prompts, &history});
        QuickViewerNestedDialogs nested;
        nested.tableInformation = [this](QWidget*, TableDef& def) {
            onInformation(def);
            return true;
        };
        nested.tableEditor = [](QWidget*, const TableDef&) {};
        nested.scaleTable = [this](QWidget*, TableDef& def, ScalePercentages&) {
            onScale(def);
            return true;
        };
        nested.differences = [this](QWidget*, const RomImage& rom, const ImageDifference& difference) {
            for (const DefinitionDifference& changed : difference.definitions)
                differencesShown.push_back(rom.tables[static_cast<std::size_t>(changed.index)].chryslerName);
            return findTableIndexOrNone(rom, goTo);
        };
        dialog->setNestedDialogs(nested);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }

    QTreeWidget* list() const { return child<QTreeWidget>(*dialog, viewer_id::tableList); }
    void clickRow(const char* name)
    {
        const auto found = list()->findItems(QString::fromLatin1(name), Qt::MatchExactly, 0);
        ASSERT_EQ(found.size(), 1) << name;
        list()->scrollToItem(found.front());
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(found.front()).center());
    }
    void click(int id)
    {
        auto* button = child<QAbstractButton>(*dialog, id);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    std::string selectedName() const
    {
        const auto selected = list()->selectedItems();
        return selected.size() == 1 ? selected.front()->text(0).toStdString() : std::string("<none>");
    }
    // The keys on whatever has the focus, the way the user presses them.
    void undoKey(QWidget* on = nullptr) { QTest::keyClick(on ? on : dialog.get(), Qt::Key_Z, Qt::ControlModifier); }
    void redoKey(QWidget* on = nullptr) { QTest::keyClick(on ? on : dialog.get(), Qt::Key_Y, Qt::ControlModifier); }
    void shiftRedoKey() { QTest::keyClick(dialog.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }

    TablePoint idlePoint(int row) const { return readPoint(working->image, TableType::Normal, 0x9060, row); }
    bool markerAt(int x, int y) const { return (dialog->graphImage().pixel(x - 2, y - 2) | 0xFF000000U) == kBlue; }
};

TEST_F(QuickViewerUndoTest, one_drag_is_one_step_that_the_keys_take_back_and_do_again_in_graph_and_bytes)
{
    open();
    clickRow("Idle Fuel vs MAP");
    const TablePoint before = idlePoint(2);  // (48, 46)
    const ImageBuffer original = working->image;
    QTest::mousePress(dialog.get(), Qt::LeftButton, {}, QPoint(400 + 48, 261 - 46));
    for (int y : {200, 180, 160, 150})
        QTest::mouseMove(dialog.get(), QPoint(452, y));
    QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, QPoint(452, 150));
    ASSERT_EQ(history.size(), 1U) << "the moves make no steps";
    EXPECT_EQ(history.undoName(), "Drag Point");
    EXPECT_EQ(idlePoint(2).y, 111);
    const ImageBuffer dragged = working->image;

    clickRow("WOT Fuel vs RPM");
    undoKey();
    EXPECT_EQ(working->image, original) << "the point and every slope as they were";
    EXPECT_EQ(selectedName(), "Idle Fuel vs MAP") << "the table the step changed is shown";
    EXPECT_TRUE(markerAt(before.x, 256 - before.y));
    EXPECT_FALSE(markerAt(52, 256 - 111));

    redoKey();
    EXPECT_EQ(working->image, dragged);
    EXPECT_TRUE(markerAt(52, 256 - 111)) << "the graph shows the point dragged again";
    undoKey();
    shiftRedoKey();
    EXPECT_EQ(working->image, dragged) << "Ctrl+Shift+Z redoes too";
}

TEST_F(QuickViewerUndoTest, a_typed_value_is_one_step_and_ctrl_z_in_the_field_takes_it_back)
{
    working->image[0x9141] = 0x12, working->image[0x9142] = 0x34;
    open();
    clickRow("Target Idle Speed");
    auto* field = child<QLineEdit>(*dialog, viewer_id::valueField);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "abcd");
    ASSERT_EQ(history.size(), 1U);
    EXPECT_EQ(history.undoName(), "Edit Constant");
    undoKey(field);
    EXPECT_EQ(working->image[0x9141], 0x12);
    EXPECT_EQ(working->image[0x9142], 0x34);
    EXPECT_EQ(field->text(), "1234") << "the field shows the value undone";
    redoKey(field);
    EXPECT_EQ(working->image[0x9141], 0xAB);
    EXPECT_EQ(field->text(), "abcd");
}

TEST_F(QuickViewerUndoTest, bits_choices_and_scaling_are_steps_whose_undone_state_the_controls_show_at_once)
{
    TableDef& flags = working->tables[static_cast<std::size_t>(findTableIndexOrNone(*working, "OPTFLG"))];
    flags.bitNames = {"Knock", "EGR", "A/C", "Wastegate", "Purge", "Speed", "Fan", "Not Used"};
    working->image[0x9143] = 0x81;
    TableDef& choice = working->tables[static_cast<std::size_t>(findTableIndexOrNone(*working, "TRNTYP"))];
    choice.valueNames = {"Off", "On", "Unused", "Unused", "Unused", "Unused", "Unused", "Unused"};
    choice.values = {0, 3, 0, 0, 0, 0, 0, 0};
    working->image[0x9144] = 0x03;
    onScale = [this](TableDef& def) { writePoint(working->image, def.type, def.offset, 0, 16, 10); };
    open();

    clickRow("Option Flags");
    click(viewer_id::firstFlag);
    clickRow("Transmission Type");
    click(viewer_id::firstChoice);
    clickRow("WOT Fuel vs RPM");
    click(viewer_id::scale);
    ASSERT_EQ(history.size(), 3U);
    EXPECT_EQ(history.undoName(), "Scale Table");

    undoKey();
    EXPECT_EQ(readPoint(working->image, TableType::Normal, 0x9000, 0).y, 96);
    EXPECT_TRUE(markerAt(16, 256 - 96));
    undoKey();
    EXPECT_EQ(selectedName(), "Transmission Type");
    EXPECT_EQ(working->image[0x9144], 0x03);
    EXPECT_TRUE(child<QRadioButton>(*dialog, viewer_id::firstChoice + 1)->isChecked());
    EXPECT_FALSE(child<QRadioButton>(*dialog, viewer_id::firstChoice)->isChecked());
    undoKey();
    EXPECT_EQ(selectedName(), "Option Flags");
    EXPECT_EQ(working->image[0x9143], 0x81);
    EXPECT_TRUE(child<QCheckBox>(*dialog, viewer_id::firstFlag)->isChecked());
    EXPECT_FALSE(history.canUndo());
}

TEST_F(QuickViewerUndoTest, definitions_changed_added_and_deleted_come_back_with_the_list)
{
    onInformation = [](TableDef& def) { def.name = "Zeta knock"; };
    open();
    clickRow("Knock Retard Correction");
    click(viewer_id::properties);
    EXPECT_EQ(history.undoName(), "Change Definition");
    undoKey();
    EXPECT_EQ(selectedName(), "Knock Retard Correction");
    EXPECT_TRUE(list()->findItems("Zeta knock", Qt::MatchExactly, 0).isEmpty());
    redoKey();
    EXPECT_EQ(selectedName(), "Zeta knock");

    onInformation = [](TableDef&) {};
    click(viewer_id::add);
    EXPECT_EQ(list()->topLevelItemCount(), 12);
    undoKey();
    EXPECT_EQ(working->entryCount, 11);
    EXPECT_EQ(list()->topLevelItemCount(), 11);

    clickRow("Rev Limiter");
    prompts.answers = {Answer::Yes};
    click(viewer_id::remove);
    EXPECT_EQ(history.undoName(), "Delete Definition");
    ASSERT_EQ(list()->topLevelItemCount(), 10);
    undoKey();
    EXPECT_EQ(list()->topLevelItemCount(), 11);
    EXPECT_EQ(selectedName(), "Rev Limiter");
    EXPECT_EQ(child<QLineEdit>(*dialog, viewer_id::valueField)->text(), "c0") << "and its value view";
}

TEST_F(QuickViewerUndoTest, differences_lists_the_tables_that_differ_from_the_comparison_and_goes_to_one)
{
    open();
    EXPECT_FALSE(child<QPushButton>(*dialog, viewer_id::differences)->isEnabled()) << "no comparison image";
    comparisonLoaded = true;
    open();
    ASSERT_TRUE(child<QPushButton>(*dialog, viewer_id::differences)->isEnabled());
    goTo = "MAPIDL";
    click(viewer_id::differences);
    EXPECT_EQ(differencesShown, (std::vector<std::string>{"PEFTBL", "MAPIDL", "MAPTBL", "WOTTBL"}))
        << "the viewer's array order (by name)";
    EXPECT_EQ(selectedName(), "Idle Fuel vs MAP");

    // The dialog itself: one row per definition, what changed, Go To.
    const ImageDifference difference = compareWithComparison(*working, *comparison);
    DifferencesDialog shown(*working, difference);
    auto* rows = shown.findChild<QTreeWidget*>("differenceList");
    ASSERT_EQ(rows->topLevelItemCount(), 4);
    EXPECT_EQ(rows->topLevelItem(0)->text(3), "5 rows differ");
    EXPECT_EQ(shown.findChild<QLabel*>("headline")->text(), "4 definitions and 48 bytes differ.");
    rows->setCurrentItem(rows->topLevelItem(3));
    EXPECT_EQ(shown.chosenIndex(), findTableIndexOrNone(*working, "WOTTBL"));
}

}  // namespace
}  // namespace tavo
