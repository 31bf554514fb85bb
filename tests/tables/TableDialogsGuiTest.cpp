#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

#include "SampleCalibration.h"
#include "tables/ScalePercentages.h"
#include "tables/TableCells.h"
#include "tables/TableLookup.h"
#include "tables/WidestEntry.h"
#include "tables/qt/FieldNameDialogs.h"
#include "tables/qt/ScaleTableDialog.h"
#include "tables/qt/TableEditorDialog.h"
#include "tables/qt/TableInformationDialog.h"

namespace tavo {
namespace {

template <typename T>
T* child(QWidget& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void click(QWidget& dialog, const char* button)
{
    if (auto* found = child<QPushButton>(dialog, button))
        QTest::mouseClick(found, Qt::LeftButton);
}

void retype(QWidget& dialog, const char* edit, const QString& text)
{
    if (auto* found = child<QLineEdit>(dialog, edit)) {
        found->clear();
        QTest::keyClicks(found, text);
    }
}

// Runs `act` on the next modal dialog as soon as it is open; a dialog that
// `act` leaves open is cancelled, so a failing test never hangs in exec().
void whenModalOpens(std::function<void(QWidget&)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(*modal);
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            if (dialog == modal && dialog->isVisible())
                dialog->reject();
    });
}

class TableDialogs : public ::testing::Test {
protected:
    std::unique_ptr<RomImage> rom = sample::makeSampleCalibration();

    TableDef& entry(const char* chryslerName)
    {
        return rom->tables[static_cast<std::size_t>(findTableIndexOrNone(*rom, chryslerName))];
    }
};

TEST_F(TableDialogs, table_information_shows_every_field_and_checks_the_current_type)
{
    TableDef& def = entry("KNKRET");
    TableInformationDialog dialog(def);
    EXPECT_EQ(dialog.windowTitle(), "Table Information");
    EXPECT_EQ(child<QLineEdit>(dialog, "titleEdit")->text(), "Knock Retard Correction");
    EXPECT_EQ(child<QLineEdit>(dialog, "addressEdit")->text(), "90b0");
    EXPECT_EQ(child<QLineEdit>(dialog, "yMinEdit")->text(), "-64");
    EXPECT_EQ(child<QLineEdit>(dialog, "chryslerNameEdit")->text(), "KNKRET");
    EXPECT_TRUE(child<QRadioButton>(dialog, "typeButton2")->isChecked());
    EXPECT_EQ(child<QRadioButton>(dialog, "typeButton2")->text(), "Normal signed (x, -y, slope)");
    EXPECT_EQ(child<QRadioButton>(dialog, "typeButton6")->text(), "8-bit Value");
    EXPECT_FALSE(child<QRadioButton>(dialog, "typeButton0")->isChecked());
}

TEST_F(TableDialogs, table_information_ok_keeps_an_address_shown_as_001a)
{
    TableDef& def = entry("WOTTBL");
    def.offset = 0x1A;
    TableInformationDialog dialog(def);
    dialog.show();
    EXPECT_EQ(child<QLineEdit>(dialog, "addressEdit")->text(), "001a");
    click(dialog, "okButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(def.offset, 0x1A);
}

TEST_F(TableDialogs, table_information_ok_takes_the_typed_texts_and_the_type_and_keeps_moveable)
{
    TableDef& def = entry("WOTTBL");
    def.moveable = true;
    TableInformationDialog dialog(def);
    dialog.show();
    retype(dialog, "titleEdit", "WOT Fuel");
    retype(dialog, "addressEdit", "9a00");
    retype(dialog, "yMaxEdit", "250");
    auto* description = child<QPlainTextEdit>(dialog, "descriptionEdit");
    description->clear();
    QTest::keyClicks(description, "first");
    QTest::keyClick(description, Qt::Key_Return);
    QTest::keyClicks(description, "second");
    QTest::mouseClick(child<QRadioButton>(dialog, "typeButton1"), Qt::LeftButton);
    click(dialog, "okButton");
    EXPECT_EQ(def.name, "WOT Fuel");
    EXPECT_EQ(def.offset, 0x9A00);
    EXPECT_EQ(def.axes.yMax, "250");
    EXPECT_EQ(def.description, "first\nsecond");
    EXPECT_EQ(def.type, TableType::FiveByte);
    EXPECT_TRUE(def.moveable) << "there is no control for it";
    EXPECT_EQ(def.chryslerName, "WOTTBL");
}

TEST_F(TableDialogs, table_information_cancel_leaves_every_field_moveable_included)
{
    TableDef& def = entry("WOTTBL");
    def.moveable = true;
    const TableDef before = def;
    TableInformationDialog dialog(def);
    dialog.show();
    retype(dialog, "titleEdit", "Changed");
    retype(dialog, "addressEdit", "1234");
    QTest::mouseClick(child<QRadioButton>(dialog, "typeButton3"), Qt::LeftButton);
    click(dialog, "cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(def.name, before.name);
    EXPECT_EQ(def.offset, before.offset);
    EXPECT_EQ(def.type, before.type);
    EXPECT_TRUE(def.moveable);
    EXPECT_EQ(def.description, before.description);
}

TEST_F(TableDialogs, values_confirmed_then_table_information_cancelled_keeps_the_new_names)
{
    TableDef& def = entry("TRNTYP");
    TableInformationDialog dialog(def);
    dialog.show();
    whenModalOpens([](QWidget& values) {
        EXPECT_EQ(values.windowTitle(), "Values");
        retype(values, "choiceNameEdit0", "Stick");
        retype(values, "choiceValueEdit3", "1ff");
        click(values, "okButton");
    });
    click(dialog, "valuesButton");
    click(dialog, "cancelButton");
    EXPECT_EQ(def.valueNames[0], "Stick");
    EXPECT_EQ(def.values[3], 0x1FF);
}

TEST_F(TableDialogs, flags_opens_the_bit_names_of_the_same_entry_for_every_type)
{
    TableDef& def = entry("REVLIM");  // an 8-bit constant: the button works all the same
    def.bitNames = {"A", "B", "C", "D", "E", "F", "G", "H"};
    TableInformationDialog dialog(def);
    dialog.show();
    whenModalOpens([](QWidget& names) {
        EXPECT_EQ(names.windowTitle(), "BitField Field Names");
        EXPECT_EQ(child<QLineEdit>(names, "bitNameEdit2")->text(), "C");
        child<QLineEdit>(names, "bitNameEdit3")->clear();
        click(names, "okButton");
    });
    click(dialog, "flagsButton");
    EXPECT_EQ(def.bitNames[3], "Not Used");
    EXPECT_EQ(def.bitNames[2], "C");
}

TEST_F(TableDialogs, bit_field_names_shows_labels_heading_and_note_and_cancel_changes_nothing)
{
    TableDef& def = entry("OPTFLG");
    BitFieldNamesDialog dialog(def);
    dialog.show();
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains("Bit 0 (01)"));
    EXPECT_TRUE(labels.contains("Bit 7 (80)"));
    EXPECT_TRUE(labels.contains("Description"));
    EXPECT_TRUE(labels.contains("(Leave Description blank if unused)"));
    EXPECT_EQ(child<QLineEdit>(dialog, "bitNameEdit0")->text(), "Knock Sensor");
    retype(dialog, "bitNameEdit0", "Changed");
    click(dialog, "cancelButton");
    EXPECT_EQ(def.bitNames[0], "Knock Sensor");
}

TEST_F(TableDialogs, values_shows_names_and_two_digit_values_and_marks_a_cleared_name_unused)
{
    TableDef& def = entry("TRNTYP");
    ValuesDialog dialog(def);
    dialog.show();
    EXPECT_EQ(child<QLineEdit>(dialog, "choiceNameEdit1")->text(), "Automatic");
    EXPECT_EQ(child<QLineEdit>(dialog, "choiceValueEdit2")->text(), "02");
    child<QLineEdit>(dialog, "choiceNameEdit2")->clear();
    retype(dialog, "choiceValueEdit1", "nothing");
    click(dialog, "okButton");
    EXPECT_EQ(def.valueNames[2], "Unused");
    EXPECT_EQ(def.values[1], 1) << "a value without hexadecimal digits keeps the previous one";
}

template <typename Dialog>
void confirmUnchanged(TableDef& def)
{
    Dialog dialog(def);
    dialog.show();
    click(dialog, "okButton");
}

TEST_F(TableDialogs, every_definition_dialog_confirmed_unchanged_gives_back_the_widest_entry_byte_for_byte)
{
    const TableDef widest = test::widestEntry(TableType::Value8);
    TableDef def = widest;
    confirmUnchanged<TableInformationDialog>(def);
    EXPECT_EQ(def, widest) << "Table Information";
    confirmUnchanged<BitFieldNamesDialog>(def);
    EXPECT_EQ(def, widest) << "BitField Field Names";
    confirmUnchanged<ValuesDialog>(def);
    EXPECT_EQ(def, widest) << "Values";
}

TEST_F(TableDialogs, table_editor_lists_the_rows_of_a_normal_table)
{
    TableDef& def = entry("WOTTBL");
    const ImageBuffer before = rom->image;
    TableEditorDialog dialog(def);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Table Editor");
    EXPECT_EQ(child<QLineEdit>(dialog, "titleEdit")->text(), "WOT Fuel vs RPM");
    EXPECT_TRUE(child<QLineEdit>(dialog, "titleEdit")->isReadOnly());
    EXPECT_EQ(child<QLineEdit>(dialog, "kindEdit")->text(), "Normal");
    auto* grid = child<QTreeWidget>(dialog, "rowGrid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->headerItem()->text(0), "Compare");
    EXPECT_EQ(grid->headerItem()->text(1), "Return");
    EXPECT_EQ(grid->headerItem()->text(2), "Slope");
    EXPECT_EQ(grid->columnWidth(0), 70);
    EXPECT_EQ(grid->columnWidth(1), 70);
    EXPECT_EQ(grid->columnWidth(2), 160);
    ASSERT_EQ(grid->topLevelItemCount(), 9);
    // WOTTBL's first rows: (16, 96), (32, 104): slope 8 / 16 = 0.5.
    EXPECT_EQ(grid->topLevelItem(0)->text(0), "10");
    EXPECT_EQ(grid->topLevelItem(0)->text(1), "60");
    EXPECT_EQ(grid->topLevelItem(0)->text(2), "0080 (0.5000)");
    EXPECT_EQ(grid->topLevelItem(8)->text(2), " ");
    EXPECT_EQ(grid->topLevelItem(8)->data(0, Qt::UserRole).toInt(), 8);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), grid) << "the focus starts on the rows";
    click(dialog, "okButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(rom->image == before);
}

TEST_F(TableDialogs, table_editor_of_a_constant_has_an_empty_grid_and_kind)
{
    TableEditorDialog dialog(entry("REVLIM"));
    EXPECT_EQ(child<QLineEdit>(dialog, "kindEdit")->text(), "");
    EXPECT_EQ(child<QTreeWidget>(dialog, "rowGrid")->topLevelItemCount(), 0);
}

TEST_F(TableDialogs, table_editor_shows_the_16_bit_return_of_a_five_byte_table)
{
    TableEditorDialog dialog(entry("INJPW"));
    auto* grid = child<QTreeWidget>(dialog, "rowGrid");
    ASSERT_EQ(grid->topLevelItemCount(), 8);
    EXPECT_EQ(child<QLineEdit>(dialog, "kindEdit")->text(), "5-Byte");
    EXPECT_EQ(grid->topLevelItem(7)->text(1), "1bbc");  // 7100
    EXPECT_NE(grid->topLevelItem(7)->text(2), " ");
}

TEST_F(TableDialogs, scale_table_shows_the_percentages_of_the_run_and_the_advice)
{
    ScalePercentages percentages{100.0F, 87.5F};
    ScaleTableDialog dialog(entry("WOTTBL"), percentages);
    EXPECT_EQ(dialog.windowTitle(), "Scale Table");
    EXPECT_EQ(child<QLineEdit>(dialog, "xPercentEdit")->text(), "100.000000");
    EXPECT_EQ(child<QLineEdit>(dialog, "yPercentEdit")->text(), "87.500000");
    EXPECT_EQ(child<QLabel>(dialog, "adviceLabel")->text(),
              "To avoid having small errors accumulate, scale tables from an original ROM Image if "
              "possible.");
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains("Scale X Percentage:"));
    EXPECT_TRUE(labels.contains("Scale Y Percentage:"));
}

TEST_F(TableDialogs, scale_table_ok_scales_the_table_and_stores_the_percentages)
{
    TableDef& def = entry("WOTTBL");
    ScalePercentages percentages;
    ScaleTableDialog dialog(def, percentages);
    dialog.show();
    retype(dialog, "yPercentEdit", "150");
    click(dialog, "okButton");
    EXPECT_EQ(percentages.x, 100.0F);
    EXPECT_EQ(percentages.y, 150.0F);
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, def.offset, 0).y, 144);  // 96 * 1.5
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, def.offset, 8).y, 255);  // 186 * 1.5
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, def.offset, 0).slopeHigh, 0);
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, def.offset, 0).slopeLow, 0xC0);  // 12 / 16
}

TEST_F(TableDialogs, scale_table_cancel_changes_neither_image_nor_percentages)
{
    const ImageBuffer before = rom->image;
    ScalePercentages percentages;
    ScaleTableDialog dialog(entry("WOTTBL"), percentages);
    dialog.show();
    retype(dialog, "xPercentEdit", "50");
    click(dialog, "cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(percentages.x, 100.0F);
    EXPECT_TRUE(rom->image == before);
}

TEST_F(TableDialogs, scale_table_keeps_the_previous_percentage_for_a_text_that_does_not_parse)
{
    TableDef& def = entry("WOTTBL");
    ScalePercentages percentages{100.0F, 50.0F};
    ScaleTableDialog dialog(def, percentages);
    dialog.show();
    retype(dialog, "yPercentEdit", "half");
    click(dialog, "okButton");
    EXPECT_EQ(percentages.y, 50.0F);
    EXPECT_EQ(readPoint(rom->image, TableType::Normal, def.offset, 0).y, 48);
}

}  // namespace
}  // namespace tavo

namespace tavo {
namespace {

TEST_F(TableDialogs, the_undo_keys_in_a_definition_dialog_undo_and_redo_typing_in_the_field)
{
    TableDef& def = entry("KNKRET");
    const std::string name = def.name;
    TableInformationDialog dialog(def);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* title = child<QLineEdit>(dialog, "titleEdit");
    ASSERT_NE(title, nullptr);
    title->setFocus();
    title->selectAll();
    QTest::keyClicks(title, "Knock");
    QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(title->text().toStdString(), name);
    QTest::keyClick(title, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(title->text(), "Knock");
    QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(title->text(), "Knock");
    EXPECT_EQ(def.name, name) << "nothing is stored before OK";
}

}  // namespace
}  // namespace tavo
