#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "SampleCalibration.h"
#include "analysis/qt/FuelingDialog.h"
#include "rom/RomImage.h"
#include "support/ScriptedPrompts.h"

namespace tavo {
namespace {

class FuelingDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<RomImage> rom = sample::makeSampleCalibration();
    std::unique_ptr<RomImage> comparison = sample::makeSampleCalibration(true);
    test::ScriptedPrompts prompts;

    std::unique_ptr<FuelingDialog> open(const RomImage* compare = nullptr)
    {
        auto dialog = std::make_unique<FuelingDialog>(nullptr, *rom, compare, prompts);
        dialog->show();
        return dialog;
    }
    static QComboBox* list(const FuelingDialog& dialog, int id)
    {
        return dialog.findChild<QComboBox*>(QString::number(id));
    }
    static QStringList items(const QComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }
    // Picks an item the way the user does: open the list and click the item.
    static void choose(QComboBox* box, const QString& text)
    {
        box->showPopup();
        QAbstractItemView* view = box->view();
        const QModelIndex index = view->model()->index(box->findText(text), 0);
        ASSERT_TRUE(index.isValid()) << text.toStdString();
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        QTRY_VERIFY(!view->isVisible());
    }
    int indexOf(const char* chryslerName) const
    {
        for (int i = 0; i < rom->entryCount; ++i)
            if (rom->tables[static_cast<std::size_t>(i)].chryslerName == chryslerName)
                return i;
        return -1;
    }
};

TEST_F(FuelingDialogTest, opens_with_the_summary_the_presets_and_the_part_throttle_graph)
{
    auto dialog = open();
    EXPECT_FALSE(dialog->tablesMissing());
    EXPECT_EQ(dialog->windowTitle(), "Fueling");
    auto* summary = dialog->findChild<QLineEdit*>("1299");
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(summary->isReadOnly());
    EXPECT_EQ(summary->text(), "WOT = 36864, PART = 36912, IDLE = 36960, PUMP = 36992");

    EXPECT_EQ(list(*dialog, 1303)->currentText(), "2.2");
    EXPECT_EQ(list(*dialog, 1301)->currentText(), "42pph P4529495");
    EXPECT_EQ(list(*dialog, 1300)->currentText(), "3-bar");
    EXPECT_EQ(list(*dialog, 1302)->currentText(), "6000");
    EXPECT_EQ(list(*dialog, 1304)->currentText(), "2 Part");
    EXPECT_EQ(dialog->shownTable(), indexOf("MAPTBL"));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(FuelingDialogTest, lists_hold_their_items_in_sorted_order_beside_their_labels)
{
    auto dialog = open();
    EXPECT_EQ(items(list(*dialog, 1301)),
              (QStringList{"27pph T1 4418474/5", "30pph P4452803", "32pph 4306018", "33.25pph 4418213/258",
                           "33pph 4504322", "34pph 5277895", "35pph P4452204", "36pph P4452804",
                           "42pph P4529495", "52pph P5249452"}));
    EXPECT_EQ(items(list(*dialog, 1303)), (QStringList{"2.2", "2.5"}));
    EXPECT_EQ(items(list(*dialog, 1300)), (QStringList{"2-bar", "3-bar"}));
    EXPECT_EQ(items(list(*dialog, 1304)), (QStringList{"1 Full", "2 Part", "3 Idle"}));
    EXPECT_EQ(list(*dialog, 1302)->count(), 10);
    EXPECT_FALSE(list(*dialog, 1301)->isEditable());
    EXPECT_TRUE(list(*dialog, 1304)->isEditable());

    for (const auto& [id, text] : {std::pair{1303, "Engine:"}, std::pair{1301, "Injectors:"},
                                   std::pair{1300, "MAP:"}, std::pair{1302, "Max RPM:"}}) {
        auto* label = dialog->findChild<QLabel*>("label" + QString::number(id));
        ASSERT_NE(label, nullptr) << id;
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(label->buddy(), list(*dialog, id));
    }
    EXPECT_EQ(dialog->findChild<QPushButton*>("1")->text(), "OK");
    EXPECT_EQ(dialog->findChild<QPushButton*>("2")->text(), "Cancel");
}

TEST_F(FuelingDialogTest, choosing_full_idle_and_part_switches_the_graph)
{
    auto dialog = open();
    QComboBox* graphList = list(*dialog, 1304);
    choose(graphList, "1 Full");
    EXPECT_EQ(dialog->shownTable(), indexOf("WOTTBL"));
    choose(graphList, "3 Idle");
    EXPECT_EQ(dialog->shownTable(), indexOf("MAPIDL"));
    choose(graphList, "2 Part");
    EXPECT_EQ(dialog->shownTable(), indexOf("MAPTBL"));
}

TEST_F(FuelingDialogTest, typing_in_the_graph_list_switches_nothing)
{
    auto dialog = open();
    QComboBox* graphList = list(*dialog, 1304);
    graphList->lineEdit()->selectAll();
    QTest::keyClicks(graphList->lineEdit(), "1 Full");
    EXPECT_EQ(dialog->shownTable(), indexOf("MAPTBL"));
    EXPECT_EQ(graphList->count(), 3);
}

TEST_F(FuelingDialogTest, the_other_choices_change_nothing_else)
{
    auto dialog = open();
    const QString summary = dialog->findChild<QLineEdit*>("1299")->text();
    choose(list(*dialog, 1301), "33.25pph 4418213/258");
    choose(list(*dialog, 1303), "2.5");
    choose(list(*dialog, 1300), "2-bar");
    choose(list(*dialog, 1302), "6500");
    EXPECT_EQ(list(*dialog, 1301)->currentText(), "33.25pph 4418213/258");
    EXPECT_EQ(dialog->shownTable(), indexOf("MAPTBL"));
    EXPECT_EQ(list(*dialog, 1304)->currentText(), "2 Part");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("1299")->text(), summary);
}

TEST_F(FuelingDialogTest, lower_case_chrysler_names_are_accepted)
{
    for (int i = 0; i < 4; ++i) {
        std::string& name = rom->tables[static_cast<std::size_t>(i)].chryslerName;
        for (char& c : name)
            c = static_cast<char>(c - 'A' + 'a');
    }
    auto dialog = open();
    EXPECT_FALSE(dialog->tablesMissing());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(dialog->shownTable(), 1);
    choose(list(*dialog, 1304), "3 Idle");
    EXPECT_EQ(dialog->shownTable(), 2);
}

TEST_F(FuelingDialogTest, a_missing_pump_table_is_reported_and_the_dialog_never_shows)
{
    rom->tables[static_cast<std::size_t>(indexOf("PEFTBL"))].chryslerName = "PUMP";
    // Returns at once: a dialog left open would block here.
    openFuelingDialog(nullptr, *rom, nullptr, prompts);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Missing tables... need WOTTBL, MAPTBL, MAPIDL, and PEFTBL");
    EXPECT_EQ(prompts.messages[0].title, "TaVO Error");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Error);

    FuelingDialog dialog(nullptr, *rom, nullptr, prompts);
    EXPECT_TRUE(dialog.tablesMissing());
    EXPECT_EQ(dialog.shownTable(), -1);
    EXPECT_TRUE(dialog.graph().isNull());
    EXPECT_EQ(list(dialog, 1304)->count(), 0) << "nothing is filled";
}

TEST_F(FuelingDialogTest, the_graph_is_copied_to_its_place_beside_the_controls)
{
    auto dialog = open(comparison.get());
    ASSERT_FALSE(dialog->graph().isNull());
    EXPECT_EQ(dialog->graph().size(), QSize(258, 258));
    const QImage shown = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage placed = shown.copy(FuelingDialog::kGraphX, FuelingDialog::kGraphY, 258, 258);
    EXPECT_EQ(placed, dialog->graph().convertToFormat(QImage::Format_RGB32));
    EXPECT_GE(dialog->width(), FuelingDialog::kGraphX + 258);
    EXPECT_GE(dialog->height(), FuelingDialog::kGraphY + 258);
}

TEST_F(FuelingDialogTest, ok_and_cancel_close_the_dialog)
{
    auto dialog = open();
    QTest::mouseClick(dialog->findChild<QPushButton*>("1"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    dialog->show();
    QTest::mouseClick(dialog->findChild<QPushButton*>("2"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

}  // namespace
}  // namespace tavo
