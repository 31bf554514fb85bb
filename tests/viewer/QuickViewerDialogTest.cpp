// The Quick Viewer driven as the user drives it: clicks on rows, headers and
// buttons, typing into the value field, dragging a graph point.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QHelpEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

#include "SampleCalibration.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "support/RealFonts.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/ScalePercentages.h"
#include "tables/TableCells.h"
#include "tables/TableLookup.h"
#include "viewer/QuickViewerIds.h"
#include "viewer/QuickViewerState.h"
#include "viewer/qt/QuickViewerDialog.h"
#include "viewer/qt/TableGraphView.h"

namespace tavo {
namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kGrey = qRgb(220, 220, 220);
const QRgb kBlue = qRgb(0, 0, 255);

QRgb pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000U;
}

class QuickViewerDialogTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::unique_ptr<RomImage> working = std::make_unique<RomImage>();
    std::unique_ptr<RomImage> comparison = std::make_unique<RomImage>();
    bool comparisonLoaded = false;
    QuickViewerState state;
    ScalePercentages scale;
    test::ScriptedPrompts prompts;

    // The nested dialogs, scripted.
    int informationRuns = 0;
    std::function<void(TableDef&)> onInformation = [](TableDef&) {};
    bool informationSawBoundEntry = false;
    int editorRuns = 0;
    int scaleRuns = 0;
    std::function<void(TableDef&)> onScale = [](TableDef&) {};

    std::unique_ptr<QuickViewerDialog> dialog;

    void SetUp() override
    {
        ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
        ASSERT_EQ(loadRomImageFrom(*working, dir.file("sample.bin"), prompts), LoadOutcome::Loaded);
        ASSERT_EQ(loadRomImageFrom(*comparison, dir.file("sample-compare.bin"), prompts), LoadOutcome::Loaded);
        prompts.messages.clear();
    }

    void TearDown() override { dialog.reset(); }

    QuickViewerContext context() { return {*working, *comparison, comparisonLoaded, state, scale, prompts}; }

    TableDef& entry(const char* chrysler)
    {
        const int index = findTableIndexOrNone(*working, chrysler);
        EXPECT_GE(index, 0) << chrysler;
        return working->tables[static_cast<std::size_t>(index)];
    }

    QuickViewerDialog& open()
    {
        dialog = std::make_unique<QuickViewerDialog>(context());
        QuickViewerNestedDialogs nested;
        nested.tableInformation = [this](QWidget*, TableDef& def) {
            ++informationRuns;
            informationSawBoundEntry = def.image == &working->image && def.index >= 0;
            onInformation(def);
            return false;  // Cancel
        };
        nested.tableEditor = [this](QWidget*, const TableDef&) { ++editorRuns; };
        nested.scaleTable = [this](QWidget*, TableDef& def, ScalePercentages&) {
            ++scaleRuns;
            onScale(def);
            return true;
        };
        dialog->setNestedDialogs(nested);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return *dialog;
    }

    template <class Control>
    Control* control(int id) const
    {
        auto* found = dialog->findChild<Control*>(QString::number(id));
        EXPECT_NE(found, nullptr) << id;
        return found;
    }
    QTreeWidget* list() const { return control<QTreeWidget>(viewer_id::tableList); }

    std::vector<std::string> column(int c) const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < list()->topLevelItemCount(); ++row)
            texts.push_back(list()->topLevelItem(row)->text(c).toStdString());
        return texts;
    }

    QTreeWidgetItem* row(const char* name) const
    {
        const auto found = list()->findItems(QString::fromLatin1(name), Qt::MatchExactly, 0);
        EXPECT_EQ(found.size(), 1) << name;
        return found.isEmpty() ? nullptr : found.front();
    }

    void clickRow(const char* name)
    {
        QTreeWidgetItem* item = row(name);
        ASSERT_NE(item, nullptr);
        list()->scrollToItem(item);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(item).center());
    }

    void clickHeader(int c)
    {
        QHeaderView* header = list()->header();
        const int x = header->sectionViewportPosition(c) + header->sectionSize(c) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    // Buttons are clicked near their left end: a radio button or check box
    // takes clicks on its indicator and text only.
    void click(int id)
    {
        QAbstractButton* button = control<QAbstractButton>(id);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    std::string selectedName() const
    {
        const auto selected = list()->selectedItems();
        return selected.size() == 1 ? selected.front()->text(0).toStdString() : std::string("<none>");
    }

    std::string text(int id) const { return control<QLineEdit>(id)->text().toStdString(); }
    std::string caption() const { return dialog->windowTitle().toStdString(); }
    std::string tblText() const { return test::readText(working->tblPath); }

    // A Normal table with the points of the dragging example, in place of MAPIDL.
    void useDragExample()
    {
        const int at = entry("MAPIDL").offset;
        working->image[static_cast<std::size_t>(at)] = 3;
        writePoint(working->image, TableType::Normal, at, 0, 0, 100);
        writePoint(working->image, TableType::Normal, at, 1, 16, 92);
        writePoint(working->image, TableType::Normal, at, 2, 32, 60);
        writeSlope(working->image, TableType::Normal, at, 0, 0x12, 0x34);
    }
    TablePoint idlePoint(int r) const
    {
        return readPoint(working->image, TableType::Normal, 0x9060, r);
    }
};

TEST_F(QuickViewerDialogTest, opening_lists_the_tables_by_name_without_regard_to_case_and_shows_the_first)
{
    entry("REVLIM").name = "rev Limiter";
    open();
    EXPECT_EQ(column(0), (std::vector<std::string>{
                             "Accelerator Pump Fuel", "Idle Fuel vs MAP", "Injector Pulse Width vs Load",
                             "Knock Retard Correction", "Option Flags", "Part Throttle Fuel vs MAP", "rev Limiter",
                             "Spark Advance vs RPM", "Target Idle Speed", "Transmission Type", "WOT Fuel vs RPM"}));
    EXPECT_EQ(working->tables[0].name, "Accelerator Pump Fuel") << "the array itself is sorted";
    EXPECT_EQ(working->tables[10].index, 10);
    EXPECT_EQ(selectedName(), "Accelerator Pump Fuel");
    EXPECT_EQ(caption(), "Quick Viewer - Accelerator Pump Fuel");

    const QTreeWidgetItem* wot = row("WOT Fuel vs RPM");
    EXPECT_EQ(wot->text(1), "9000");
    EXPECT_EQ(wot->text(2), "Unsigned table");
    EXPECT_EQ(wot->text(3), "WOTTBL");
    EXPECT_EQ(list()->headerItem()->text(3), "Chrysler");
    EXPECT_EQ(list()->columnWidth(0), 100);
    EXPECT_EQ(list()->columnWidth(1), 50);
    EXPECT_EQ(list()->columnWidth(2), 100);
    EXPECT_EQ(list()->columnWidth(3), 60);
}

TEST_F(QuickViewerDialogTest, selecting_wottbl_shows_its_fields_caption_and_graph)
{
    open();
    clickRow("WOT Fuel vs RPM");
    EXPECT_EQ(caption(), "Quick Viewer - WOT Fuel vs RPM");
    EXPECT_EQ(text(viewer_id::chryslerName), "WOTTBL");
    EXPECT_EQ(text(viewer_id::address), "9000");
    EXPECT_EQ(text(viewer_id::typeText), "Unsigned table (x, y, slope)");
    EXPECT_EQ(control<QPlainTextEdit>(viewer_id::description)->toPlainText().toStdString(),
              entry("WOTTBL").description);
    EXPECT_EQ(text(viewer_id::xMax), "8192");
    EXPECT_EQ(text(viewer_id::yUnits), "%");
    EXPECT_EQ(text(viewer_id::inReadout), " ");
    EXPECT_FALSE(control<QLineEdit>(viewer_id::valueField)->isVisible());
    EXPECT_TRUE(control<QLineEdit>(viewer_id::xLabel)->isVisible());

    // WOTTBL starts at (16, 96): its lead-in runs along row 160 of the graph,
    // which the dialog shows at (400, 5).
    ASSERT_FALSE(dialog->graphImage().isNull());
    EXPECT_EQ(pixel(dialog->graphImage(), 5, 160), kBlack);
    const QImage screen = dialog->grab().toImage();
    EXPECT_EQ(pixel(screen, 405, 165), kBlack);
    EXPECT_EQ(pixel(screen, 405, 175), kWhite);
}

TEST_F(QuickViewerDialogTest, sorting_by_each_column_keeps_the_selected_table_selected)
{
    open();
    clickRow("Knock Retard Correction");
    for (int c : {1, 2, 3, 0, 1}) {
        clickHeader(c);
        EXPECT_EQ(selectedName(), "Knock Retard Correction") << "column " << c;
        EXPECT_EQ(caption(), "Quick Viewer - Knock Retard Correction") << c;
        EXPECT_EQ(text(viewer_id::chryslerName), "KNKRET") << c;
        for (int i = 0; i + 1 < working->entryCount; ++i) {
            const TableDef& a = working->tables[static_cast<std::size_t>(i)];
            const TableDef& b = working->tables[static_cast<std::size_t>(i) + 1];
            if (c == 1) {
                EXPECT_LT(a.offset, b.offset);
            }
            if (c == 2) {
                EXPECT_LE(static_cast<int>(a.type), static_cast<int>(b.type));
            }
            EXPECT_EQ(list()->topLevelItem(i)->text(0).toStdString(), a.name) << "rows follow the array";
        }
    }
    EXPECT_EQ(column(1).front(), "9000");
    const auto once = column(0);
    clickHeader(1);
    EXPECT_EQ(column(0), once) << "a second click sorts the same way";
    EXPECT_EQ(column(3), (std::vector<std::string>{"WOTTBL", "MAPTBL", "MAPIDL", "PEFTBL", "KNKRET", "INJPW",
                                                   "REVLIM", "IDLSPD", "OPTFLG", "TRNTYP", "SPKADV"}));
}

TEST_F(QuickViewerDialogTest, a_double_click_runs_properties_stores_the_definitions_and_keeps_the_table)
{
    onInformation = [](TableDef& def) { def.name = "Zeta knock"; };
    open();
    const int rowBefore = list()->indexOfTopLevelItem(row("Knock Retard Correction"));
    const QPoint at = list()->visualItemRect(row("Knock Retard Correction")).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(informationRuns, 1);
    EXPECT_EQ(selectedName(), "Zeta knock") << "Cancel is not consulted: the new name is listed";
    EXPECT_EQ(list()->indexOfTopLevelItem(row("Zeta knock")), rowBefore) << "Properties does not sort";
    EXPECT_NE(tblText().find("Zeta_knock"), std::string::npos) << "spaces are stored as underscores";

    click(viewer_id::properties);
    EXPECT_EQ(informationRuns, 2);
}

TEST_F(QuickViewerDialogTest, add_then_cancel_leaves_a_new_normal_table_at_the_load_offset_selected)
{
    open();
    click(viewer_id::add);
    EXPECT_EQ(informationRuns, 1);
    EXPECT_TRUE(informationSawBoundEntry);
    EXPECT_EQ(working->entryCount, 12);
    EXPECT_EQ(selectedName(), "new");
    EXPECT_EQ(caption(), "Quick Viewer - new");
    EXPECT_EQ(text(viewer_id::address), "8000");
    EXPECT_EQ(text(viewer_id::typeText), "Unsigned table (x, y, slope)");
    const TableDef& added = working->tables[11];
    EXPECT_EQ(added.name, "new");
    EXPECT_EQ(added.type, TableType::Normal);
    EXPECT_EQ(added.offset, 0x8000);
    EXPECT_NE(tblText().find("NAME"), std::string::npos) << "the .tbl file holds the new entry";
}

TEST_F(QuickViewerDialogTest, delete_asks_first_and_no_keeps_the_table_but_still_rewrites_the_tbl_file)
{
    open();
    clickRow("WOT Fuel vs RPM");
    test::writeText(working->tblPath, "stale");
    prompts.answers = {Answer::No};
    click(viewer_id::remove);
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].text, "Are you sure you want to delete: WOT Fuel vs RPM ?");
    EXPECT_EQ(prompts.questions[0].title, "TaVO");
    EXPECT_EQ(working->entryCount, 11);
    EXPECT_NE(tblText().find("WOTTBL"), std::string::npos);
    EXPECT_EQ(selectedName(), "Accelerator Pump Fuel") << "the refresh selects row 0";

    clickRow("Knock Retard Correction");
    ASSERT_EQ(findTableIndexOrNone(*working, "OPTFLG"), 4);
    prompts.answers = {Answer::Yes};
    click(viewer_id::remove);
    EXPECT_EQ(working->entryCount, 10);
    EXPECT_TRUE(list()->findItems("Knock Retard Correction", Qt::MatchExactly, 0).isEmpty());
    EXPECT_EQ(tblText().find("KNKRET"), std::string::npos);
    EXPECT_EQ(findTableIndexOrNone(*working, "OPTFLG"), 3) << "the following entries moved down";
    EXPECT_EQ(working->tables[3].index, 3);
}

TEST_F(QuickViewerDialogTest, deleting_the_last_table_closes_the_viewer_with_no_table_data)
{
    working->entryCount = 1;
    open();
    prompts.answers = {Answer::Yes};
    click(viewer_id::remove);
    EXPECT_EQ(working->entryCount, 0);
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].text, "No Table Data to View");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialog->result(), 2);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(QuickViewerDialogTest, an_image_without_tables_is_not_viewed)
{
    working->entryCount = 0;
    EXPECT_EQ(openQuickViewer(nullptr, context()), 2);
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].text, "No Table Data to View");
    EXPECT_EQ(prompts.messages[0].title, "TaVO");
}

TEST_F(QuickViewerDialogTest, the_value_field_writes_every_keystroke_of_a_constant_at_once)
{
    working->image[0x9141] = 0x12, working->image[0x9142] = 0x34;
    working->image[0x9140] = 0xFF;
    open();
    clickRow("Target Idle Speed");
    QLineEdit* field = control<QLineEdit>(viewer_id::valueField);
    EXPECT_TRUE(field->isVisible());
    EXPECT_TRUE(control<QLabel>(viewer_id::valueLabel)->isVisible());
    EXPECT_FALSE(control<QLineEdit>(viewer_id::inReadout)->isVisible());
    EXPECT_EQ(text(viewer_id::typeText), "16-bit Constant");
    EXPECT_EQ(field->text(), "1234");
    field->selectAll();
    QTest::keyClicks(field, "abcd");
    EXPECT_EQ(working->image[0x9141], 0xAB);
    EXPECT_EQ(working->image[0x9142], 0xCD);

    clickRow("Rev Limiter");
    EXPECT_EQ(field->text(), "ff");
    field->selectAll();
    QTest::keyClicks(field, "1");
    EXPECT_EQ(working->image[0x9140], 0x01) << "each keystroke takes effect";
    QTest::keyClicks(field, "ff");
    EXPECT_EQ(working->image[0x9140], 0xFF);
    field->selectAll();
    QTest::keyClicks(field, "7");
    EXPECT_EQ(working->image[0x9140], 0x07);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(working->image[0x9140], 0x07) << "an empty field stores nothing";
    EXPECT_EQ(working->image[0x9141], 0xAB);
}

TEST_F(QuickViewerDialogTest, choices_named_unused_are_hidden_and_a_click_stores_the_choice)
{
    TableDef& def = entry("TRNTYP");
    def.valueNames = {"Off", "On", "Unused", "Unused", "Unused", "Unused", "Unused", "Unused"};
    def.values = {0, 3, 0, 0, 0, 0, 0, 0};
    working->image[0x9144] = 0x03;
    open();
    clickRow("Transmission Type");
    auto* off = control<QRadioButton>(viewer_id::firstChoice);
    auto* on = control<QRadioButton>(viewer_id::firstChoice + 1);
    EXPECT_EQ(off->text(), "Off ( 0)");
    EXPECT_EQ(on->text(), "On ( 3)");
    EXPECT_TRUE(off->isVisible());
    EXPECT_TRUE(on->isChecked());
    EXPECT_FALSE(off->isChecked());
    for (int i = 2; i < 8; ++i)
        EXPECT_FALSE(control<QRadioButton>(viewer_id::firstChoice + i)->isVisible()) << i;
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(control<QCheckBox>(viewer_id::firstFlag + i)->isVisible()) << i;
    click(viewer_id::firstChoice);
    EXPECT_EQ(working->image[0x9144], 0x00);
    EXPECT_TRUE(off->isChecked());
    EXPECT_FALSE(on->isChecked());
}

TEST_F(QuickViewerDialogTest, bits_named_not_used_are_hidden_and_a_box_sets_its_bit)
{
    TableDef& def = entry("OPTFLG");
    def.bitNames = {"Knock", "EGR", "A/C", "Wastegate", "Purge", "Speed", "Fan", "Not Used"};
    working->image[0x9143] = 0x81;
    open();
    clickRow("Option Flags");
    for (int i = 0; i < 7; ++i) {
        auto* box = control<QCheckBox>(viewer_id::firstFlag + i);
        EXPECT_TRUE(box->isVisible()) << i;
        EXPECT_EQ(box->isChecked(), i == 0) << i;
    }
    EXPECT_FALSE(control<QCheckBox>(viewer_id::firstFlag + 7)->isVisible());
    EXPECT_EQ(control<QCheckBox>(viewer_id::firstFlag + 3)->text(), "Wastegate");
    click(viewer_id::firstFlag);
    EXPECT_EQ(working->image[0x9143], 0x80);
    click(viewer_id::firstFlag + 5);
    EXPECT_EQ(working->image[0x9143], 0xA0);
}

TEST_F(QuickViewerDialogTest, dragging_a_point_draws_the_band_and_the_release_stores_it_with_new_slopes)
{
    useDragExample();
    open();
    clickRow("Idle Fuel vs MAP");
    QTest::mousePress(dialog.get(), Qt::LeftButton, {}, QPoint(432, 201));
    EXPECT_EQ(state.dragIndex, 2);
    QTest::mouseMove(dialog.get(), QPoint(470, 150));
    EXPECT_EQ(pixel(dialog->grab().toImage(), 600, 150), kBlack) << "the band runs on at the cursor's height";
    QTest::mouseMove(dialog.get(), QPoint(440, 191));
    EXPECT_EQ(idlePoint(2).x, 32) << "nothing is written while the button is held";
    const QImage during = dialog->grab().toImage();
    EXPECT_EQ(pixel(during, 600, 150), kWhite) << "the previous band is wiped";
    EXPECT_EQ(pixel(during, 428, 180), kBlack) << "the band from (416, 169) to the cursor";
    EXPECT_EQ(pixel(during, 550, 191), kBlack) << "and on to the right edge";
    EXPECT_EQ(pixel(dialog->graphImage(), 150, 186), kWhite) << "the bitmap itself is untouched";

    QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, QPoint(440, 191));
    EXPECT_EQ(idlePoint(2).x, 40);
    EXPECT_EQ(idlePoint(2).y, 70);
    EXPECT_EQ(idlePoint(0).slopeHigh, 0xFF);
    EXPECT_EQ(idlePoint(0).slopeLow, 0x80);
    EXPECT_EQ(idlePoint(1).slopeHigh, 0xFF);
    EXPECT_EQ(idlePoint(1).slopeLow, 0x16);
    EXPECT_EQ(state.dragIndex, -1);
    EXPECT_EQ(pixel(dialog->graphImage(), 38, 184), kBlue) << "the graph is redrawn with the point at (40, 70)";
    EXPECT_EQ(pixel(dialog->grab().toImage(), 550, 191), kBlack) << "the dialog shows the new run-out";
}

TEST_F(QuickViewerDialogTest, a_release_outside_the_graph_keeps_the_point_and_recomputes_the_slopes)
{
    useDragExample();
    open();
    clickRow("Idle Fuel vs MAP");
    QTest::mousePress(dialog.get(), Qt::LeftButton, {}, QPoint(432, 201));
    QTest::mouseMove(dialog.get(), QPoint(300, 100));
    QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, QPoint(300, 100));
    EXPECT_EQ(idlePoint(2).x, 32);
    EXPECT_EQ(idlePoint(2).y, 60);
    EXPECT_EQ(idlePoint(0).slopeHigh, 0xFF);
    EXPECT_EQ(idlePoint(0).slopeLow, 0x80);
    EXPECT_FALSE(state.dragging);
}

TEST_F(QuickViewerDialogTest, the_read_outs_follow_the_cursor_and_snap_to_a_near_point)
{
    entry("WOTTBL").axes.xMax = "8000";
    open();
    clickRow("WOT Fuel vs RPM");
    QTest::mouseMove(dialog.get(), QPoint(528, 200));
    EXPECT_EQ(text(viewer_id::inReadout), "in: 4000.0");
    EXPECT_EQ(text(viewer_id::outReadout), "out: 47.66");  // 200 / 256 * 61
    QTest::mouseMove(dialog.get(), QPoint(418, 166));  // near (16, 96)
    EXPECT_EQ(text(viewer_id::inReadout), "in: 500.0");
    EXPECT_EQ(text(viewer_id::outReadout), "out: 75.00");
    QTest::mouseMove(dialog.get(), QPoint(300, 100));
    EXPECT_EQ(text(viewer_id::inReadout), "in: 500.0") << "outside the graph nothing changes";
}

TEST_F(QuickViewerDialogTest, scale_and_tabular_run_in_graph_mode_and_the_graph_shows_the_result)
{
    onScale = [this](TableDef& def) { writePoint(working->image, def.type, def.offset, 0, 16, 10); };
    open();
    clickRow("WOT Fuel vs RPM");
    click(viewer_id::scale);
    EXPECT_EQ(scaleRuns, 1);
    EXPECT_EQ(pixel(dialog->graphImage(), 5, 246), kBlack) << "redrawn after scaling";
    click(viewer_id::tabular);
    EXPECT_EQ(editorRuns, 1);

    clickRow("Rev Limiter");
    click(viewer_id::scale);
    click(viewer_id::tabular);
    EXPECT_EQ(scaleRuns, 1) << "not for a constant";
    EXPECT_EQ(editorRuns, 1);
}

TEST_F(QuickViewerDialogTest, the_comparison_curve_is_drawn_while_a_comparison_is_loaded)
{
    open();
    clickRow("WOT Fuel vs RPM");
    EXPECT_EQ(pixel(dialog->graphImage(), 5, 154), kWhite);
    comparisonLoaded = true;
    clickRow("Spark Advance vs RPM");
    clickRow("WOT Fuel vs RPM");
    EXPECT_EQ(pixel(dialog->graphImage(), 5, 154), kGrey) << "the richer comparison starts at y 102";
}

TEST_F(QuickViewerDialogTest, a_refresh_from_the_value_view_to_a_table_shows_the_graph_controls_again)
{
    open();
    clickRow("Rev Limiter");
    prompts.answers = {Answer::No};
    click(viewer_id::remove);
    EXPECT_EQ(selectedName(), "Accelerator Pump Fuel");
    EXPECT_TRUE(control<QLineEdit>(viewer_id::xLabel)->isVisible());
    EXPECT_FALSE(control<QLineEdit>(viewer_id::valueField)->isVisible());
}

TEST_F(QuickViewerDialogTest, send_changes_nothing_ok_gives_1_and_escape_gives_2)
{
    open();
    const ImageBuffer before = working->image;
    click(viewer_id::send);
    EXPECT_EQ(working->image, before);
    EXPECT_TRUE(dialog->isVisible());
    click(viewer_id::ok);
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_TRUE(dialog->graphImage().isNull());

    open();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), 2);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(QuickViewerDialogTest, a_name_the_column_cuts_off_shows_whole_as_a_tooltip)
{
    if (!test::realFontsAtHand())
        GTEST_SKIP() << "no real font to measure text with";
    open();
    auto tipOver = [this](const char* name, int column) {
        const QModelIndex index = list()->model()->index(list()->indexOfTopLevelItem(row(name)), column);
        const QPoint at = list()->visualRect(index).center();
        QHelpEvent help(QEvent::ToolTip, at, list()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list()->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string("<none>");
    };
    EXPECT_EQ(tipOver("Rev Limiter", 0), "<none>") << "shown whole";
    EXPECT_EQ(tipOver("Rev Limiter", 2), "<none>");
    EXPECT_EQ(tipOver("Accelerator Pump Fuel", 0), "Accelerator Pump Fuel");
    EXPECT_EQ(list()->columnWidth(0), 100) << "the column keeps its width";
}

TEST_F(QuickViewerDialogTest, an_overlay_is_drawn_in_graph_pixels_over_the_curve_and_leaves_the_graph_image_alone)
{
    open();
    clickRow("WOT Fuel vs RPM");
    auto* graph = dialog->findChild<TableGraphView*>();
    ASSERT_NE(graph, nullptr);
    graph->setOverlay([](QPainter& painter) { painter.fillRect(QRect(5, 158, 3, 3), Qt::red); });
    EXPECT_EQ(pixel(dialog->grab().toImage(), 406, 164), qRgb(255, 0, 0)) << "over the lead-in at graph (6, 159)";
    EXPECT_EQ(pixel(dialog->graphImage(), 6, 159), kBlack);
    graph->setOverlay({});
    EXPECT_EQ(pixel(dialog->grab().toImage(), 406, 164), kBlack);
}

}  // namespace
}  // namespace tavo
