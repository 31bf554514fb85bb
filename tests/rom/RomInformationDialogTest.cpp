#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "rom/RomImage.h"
#include "rom/qt/RomInformationDialog.h"
#include "support/RealFonts.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/WidestEntry.h"

namespace tavo {
namespace {

template <typename T>
T* control(QWidget& dialog, int id)
{
    T* found = dialog.findChild<T*>(QString::number(id));
    EXPECT_NE(found, nullptr) << id;
    return found;
}

class RomInformationDialogTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<RomImage> rom = std::make_unique<RomImage>();

    void SetUp() override
    {
        rom->tblPath = dir.file("cal.tbl");
        rom->loadOffset = 0x8000;
        rom->description = "Stage 2";
        rom->author = "Me";
        rom->injectors = 42.0F;
        rom->boost = 14.5F;
    }
};

TEST_F(RomInformationDialogTest, fields_show_the_record_in_their_formats)
{
    rom->mapRange = kMap25Bar;
    RomInformationDialog dialog(*rom, prompts);
    EXPECT_EQ(dialog.windowTitle(), "ROM Information");
    EXPECT_EQ(control<QLineEdit>(dialog, 1009)->text(), "8000");
    EXPECT_EQ(control<QLineEdit>(dialog, 1010)->text(), "Stage 2");
    EXPECT_EQ(control<QLineEdit>(dialog, 1011)->text(), "Me");
    EXPECT_EQ(control<QLineEdit>(dialog, 1249)->text(), "42.0");
    EXPECT_EQ(control<QLineEdit>(dialog, 1250)->text(), "14.5");
    EXPECT_FALSE(control<QRadioButton>(dialog, 1246)->isChecked());
    EXPECT_TRUE(control<QRadioButton>(dialog, 1247)->isChecked());
    EXPECT_EQ(control<QRadioButton>(dialog, 1247)->text(), "2.5 Bar");
    EXPECT_FALSE(control<QRadioButton>(dialog, 1248)->isChecked());
}

TEST_F(RomInformationDialogTest, ok_takes_the_typed_values_and_writes_the_definition_file)
{
    RomInformationDialog dialog(*rom, prompts);
    QLineEdit* offset = control<QLineEdit>(dialog, 1009);
    offset->clear();
    QTest::keyClicks(offset, "c000");
    control<QLineEdit>(dialog, 1249)->setText("36");
    control<QRadioButton>(dialog, 1248)->setChecked(true);  // "3 Bar"
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(rom->loadOffset, 0xC000);
    EXPECT_FLOAT_EQ(rom->injectors, 36.0F);
    EXPECT_EQ(rom->mapRange, kMap3Bar);
    const std::string written = test::readText(dir.file("cal.tbl"));
    EXPECT_EQ(written.rfind("c000\r\nStage 2\r\nMe\r\n", 0), 0u);
    EXPECT_NE(written.find("injectors 36.0\r\n"), std::string::npos);
    EXPECT_NE(written.find("map 3\r\n"), std::string::npos);
}

TEST_F(RomInformationDialogTest, texts_show_whole_in_fields_as_wide_as_the_dialog_beside_the_icon)
{
    if (!test::realFontsAtHand())
        GTEST_SKIP() << "no real font to measure text with";
    rom->description = "TaVO sample turbo calibration (synthetic)";
    rom->author = "TaVO project sample generator";
    RomInformationDialog dialog(*rom, prompts);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (int id : {1010, 1011}) {
        QLineEdit* edit = control<QLineEdit>(dialog, id);
        EXPECT_GT(edit->width(), edit->fontMetrics().horizontalAdvance(edit->text())) << id;
        EXPECT_GT(edit->mapTo(&dialog, QPoint(edit->width(), 0)).x(), dialog.width() - 20) << id;
        EXPECT_EQ(edit->cursorPosition(), 0) << "a longer text shows its beginning";
    }
    int pictures = 0;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        pictures += label->pixmap().size() == QSize(32, 32);
    EXPECT_EQ(pictures, 1) << "the program icon";
}

TEST_F(RomInformationDialogTest, ok_without_edits_keeps_every_field_exactly_and_no_map_choice_writes_map_2)
{
    rom->description = test::widestText(width::romText, 0, false);
    rom->author = test::widestText(width::romText, 99, false);
    rom->injectors = 33.25F;  // shown as 33.3
    rom->boost = 14.75F;
    RomInformationDialog dialog(*rom, prompts);
    for (int id : {1246, 1247, 1248})
        EXPECT_FALSE(control<QRadioButton>(dialog, id)->isChecked());
    dialog.accept();
    EXPECT_EQ(rom->loadOffset, 0x8000);
    EXPECT_EQ(rom->description, test::widestText(width::romText, 0, false));
    EXPECT_EQ(rom->author, test::widestText(width::romText, 99, false));
    EXPECT_EQ(rom->injectors, 33.25F);
    EXPECT_EQ(rom->boost, 14.75F);
    EXPECT_EQ(rom->mapRange, 0);
    EXPECT_NE(test::readText(dir.file("cal.tbl")).find("map 2\r\n"), std::string::npos);
}

TEST_F(RomInformationDialogTest, cancel_changes_nothing_and_writes_nothing)
{
    RomInformationDialog dialog(*rom, prompts);
    control<QLineEdit>(dialog, 1009)->setText("c000");
    dialog.reject();
    EXPECT_EQ(rom->loadOffset, 0x8000);
    EXPECT_FALSE(std::filesystem::exists(dir.file("cal.tbl")));
}

}  // namespace
}  // namespace tavo
