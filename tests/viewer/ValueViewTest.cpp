#include <gtest/gtest.h>

#include "viewer/ValueView.h"
#include "viewer/ViewerTestImages.h"

namespace tavo {
namespace {

using test::addEntry;
using test::blankImage;

TEST(ConstantField, digits_past_the_fourth_are_ignored_and_an_8_bit_constant_writes_one_byte)
{
    auto rom = blankImage();
    const TableDef& wide = addEntry(*rom, TableType::Const16, 0x9141, "idle", "IDLSPD");
    EXPECT_TRUE(writeConstantText(rom->image, wide, "12345"));
    EXPECT_EQ(constantText(rom->image, wide), "1234");
    EXPECT_TRUE(writeConstantText(rom->image, wide, " F"));
    EXPECT_EQ(constantText(rom->image, wide), "f") << "no leading zeros";
    const TableDef& narrow = addEntry(*rom, TableType::Const8, 0x9140, "limit", "REVLIM");
    EXPECT_TRUE(writeConstantText(rom->image, narrow, "1ff"));
    EXPECT_EQ(rom->image[0x9140], 0xFF);
    EXPECT_EQ(rom->image[0x9141], 0x00) << "the next byte is not the constant's";
}

TEST(ConstantField, text_without_a_hex_digit_leaves_the_image_unchanged)
{
    auto rom = blankImage();
    const TableDef& def = addEntry(*rom, TableType::Const16, 0x9141, "idle", "IDLSPD");
    rom->image[0x9141] = 0x12, rom->image[0x9142] = 0x34;
    EXPECT_FALSE(writeConstantText(rom->image, def, ""));
    EXPECT_FALSE(writeConstantText(rom->image, def, "xyz"));
    EXPECT_FALSE(writeConstantText(rom->image, def, "       1")) << "only the first 7 characters are read";
    EXPECT_EQ(constantText(rom->image, def), "1234");
}

TEST(ConstantField, other_kinds_and_the_end_of_the_address_space_are_left_alone)
{
    auto rom = blankImage();
    const TableDef& flags = addEntry(*rom, TableType::Flags8, 0x9143, "flags", "OPTFLG");
    rom->image[0x9143] = 0x2D;
    EXPECT_FALSE(writeConstantText(rom->image, flags, "ff"));
    EXPECT_EQ(rom->image[0x9143], 0x2D);
    const TableDef& last = addEntry(*rom, TableType::Const16, 0xFFFF, "last", "LAST");
    EXPECT_TRUE(writeConstantText(rom->image, last, "abcd"));
    EXPECT_EQ(rom->image[0xFFFF], 0xAB);
    EXPECT_EQ(constantText(rom->image, last), "ab00");
}

TEST(ChoiceButtons, choices_sharing_the_value_are_both_checked_and_wide_values_store_their_low_byte)
{
    auto rom = blankImage();
    TableDef& def = addEntry(*rom, TableType::Value8, 0x9144, "gear", "GEAR");
    def.valueNames = {"A", "B", "Wide", "unused", "E", "F", "G", "H"};
    def.values = {2, 2, 0x1F0, 4, 5, 6, 7, 8};
    rom->image[0x9144] = 0x02;
    const auto buttons = choiceButtons(rom->image, def);
    EXPECT_TRUE(buttons[0].checked);
    EXPECT_TRUE(buttons[1].checked);
    EXPECT_EQ(buttons[2].label, "Wide (1f0)");
    EXPECT_TRUE(buttons[3].visible) << "the marker is compared with its case";
    writeChoice(rom->image, def, 2);
    EXPECT_EQ(rom->image[0x9144], 0xF0);
    EXPECT_FALSE(choiceButtons(rom->image, def)[2].checked) << "0xF0 is not the value 0x1F0";
}

}  // namespace
}  // namespace tavo
