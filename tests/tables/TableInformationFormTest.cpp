#include <gtest/gtest.h>

#include <string>

#include "tables/FieldNameForms.h"
#include "tables/TableInformationForm.h"
#include "tables/WidestEntry.h"

namespace tavo {
namespace {

TableDef sampleEntry()
{
    TableDef def;
    def.offset = 0x1A;
    def.type = TableType::Signed;
    def.moveable = true;
    def.name = "Knock Retard";
    def.axes.xLabel = "Knock Count";
    def.axes.xMin = "0";
    def.axes.xMax = "256";
    def.axes.xUnits = "counts";
    def.axes.yLabel = "Timing";
    def.axes.yMin = "-64";
    def.axes.yMax = "64";
    def.axes.yUnits = "deg";
    def.chryslerName = "KNKRET";
    def.description = "Line one\nLine two";
    return def;
}

TEST(TableInformationForm, shows_every_field_with_the_address_as_four_hex_digits)
{
    const TableDef def = sampleEntry();
    const TableInformationTexts texts = tableInformationTexts(def);
    EXPECT_EQ(texts.address, "001a");
    EXPECT_EQ(texts.title, "Knock Retard");
    EXPECT_EQ(texts.axes, def.axes);
    EXPECT_EQ(texts.chryslerName, "KNKRET");
    EXPECT_EQ(texts.description, "Line one\nLine two");
    EXPECT_EQ(texts.type, TableType::Signed);
}

TEST(TableInformationForm, ok_without_edits_gives_back_every_field_at_its_widest_moveable_included)
{
    for (const TableType type : {TableType::Normal, TableType::Value8}) {
        const TableDef widest = test::widestEntry(type);
        TableDef def = widest;
        applyTableInformation(def, tableInformationTexts(def));
        EXPECT_EQ(def, widest);
    }
}

TEST(TableInformationForm, the_address_reads_up_to_four_hex_digits_and_an_unreadable_one_is_kept)
{
    TableDef def = sampleEntry();
    TableInformationTexts texts = tableInformationTexts(def);
    texts.address = "  9abc";
    applyTableInformation(def, texts);
    EXPECT_EQ(def.offset, 0x9ABC);
    texts.address = "123456";
    applyTableInformation(def, texts);
    EXPECT_EQ(def.offset, 0x1234);
    texts.address = "zz";
    applyTableInformation(def, texts);
    EXPECT_EQ(def.offset, 0x1234);
    texts.address = "";
    applyTableInformation(def, texts);
    EXPECT_EQ(def.offset, 0x1234);
}

TEST(TableInformationForm, edited_texts_are_cut_to_their_fields_widths)
{
    TableDef def = sampleEntry();
    TableInformationTexts texts = tableInformationTexts(def);
    const std::string longText(3000, 'a');
    texts.title = texts.chryslerName = texts.description = longText;
    for (const AxisField& field : kAxisFields)
        texts.axes.*field.member = longText;
    applyTableInformation(def, texts);
    EXPECT_EQ(def.name.size(), 255U);
    for (const AxisField& field : kAxisFields)
        EXPECT_EQ((def.axes.*field.member).size(), field.width - 1) << field.name;
    EXPECT_EQ(def.chryslerName.size(), 31U);
    EXPECT_EQ(def.description.size(), 2047U);
}

TEST(TableInformationForm, description_line_breaks_are_kept_as_line_feeds)
{
    TableDef def = sampleEntry();
    TableInformationTexts texts = tableInformationTexts(def);
    texts.description = "one\r\ntwo\rthree\n";
    applyTableInformation(def, texts);
    EXPECT_EQ(def.description, "one\ntwo\nthree\n");
}

TEST(TableInformationForm, the_checked_type_button_sets_the_type_and_none_checked_keeps_it)
{
    TableDef def = sampleEntry();
    TableInformationTexts texts = tableInformationTexts(def);
    texts.type = TableType::Value8;
    applyTableInformation(def, texts);
    EXPECT_EQ(def.type, TableType::Value8);
    texts.type.reset();
    applyTableInformation(def, texts);
    EXPECT_EQ(def.type, TableType::Value8);
}

TEST(TableInformationForm, the_seven_type_buttons_carry_the_kinds_labels)
{
    EXPECT_EQ(typeButtonLabel(TableType::Normal), "Normal (x, y, slope)");
    EXPECT_EQ(typeButtonLabel(TableType::FiveByte), "5-Byte (x, Y, slope)");
    EXPECT_EQ(typeButtonLabel(TableType::Signed), "Normal signed (x, -y, slope)");
    EXPECT_EQ(typeButtonLabel(TableType::Const8), "8-bit constant");
    EXPECT_EQ(typeButtonLabel(TableType::Const16), "16-bit constant");
    EXPECT_EQ(typeButtonLabel(TableType::Flags8), "8-bit Flags");
    EXPECT_EQ(typeButtonLabel(TableType::Value8), "8-bit Value");
}

TEST(BitFieldNamesForm, labels_the_bits_with_their_masks)
{
    EXPECT_EQ(bitNameLabel(0), "Bit 0 (01)");
    EXPECT_EQ(bitNameLabel(4), "Bit 4 (10)");
    EXPECT_EQ(bitNameLabel(7), "Bit 7 (80)");
}

TEST(BitFieldNamesForm, a_cleared_name_becomes_not_used_and_names_are_cut_to_63)
{
    TableDef def;
    def.bitNames = {"A", "B", "C", "D", "E", "F", "G", "H"};
    BitNameTexts texts = bitNameTexts(def);
    texts[3].clear();
    texts[5] = std::string(100, 'x');
    applyBitNames(def, texts);
    EXPECT_EQ(def.bitNames[3], "Not Used");
    EXPECT_EQ(def.bitNames[5].size(), 63U);
    EXPECT_EQ(def.bitNames[0], "A");
}

TEST(FieldNameForms, ok_without_edits_gives_back_names_and_values_at_their_widest)
{
    const TableDef widest = test::widestEntry(TableType::Value8);
    TableDef def = widest;
    applyBitNames(def, bitNameTexts(def));
    applyChoices(def, choiceTexts(def));
    EXPECT_EQ(def, widest);
}

TEST(ValuesForm, shows_values_as_two_hex_digits_at_least)
{
    TableDef def;
    def.values = {0, 1, 0x2A, 0x1FF, 0, 0, 0, 0};
    const ChoiceTexts texts = choiceTexts(def);
    EXPECT_EQ(texts.values[0], "00");
    EXPECT_EQ(texts.values[2], "2a");
    EXPECT_EQ(texts.values[3], "1ff");
}

TEST(ValuesForm, names_and_values_go_back_with_markers_and_four_hex_digits)
{
    TableDef def;
    def.valueNames = {"Manual", "Automatic", "Lockup", "Unused", "Unused", "Unused", "Unused", "Unused"};
    def.values = {0, 1, 2, 0, 9, 0, 0, 7};
    ChoiceTexts texts = choiceTexts(def);
    texts.names[1].clear();
    texts.values[2] = "1ff";
    texts.values[3] = "12345";
    texts.values[4] = "zz";
    texts.values[7] = "";
    applyChoices(def, texts);
    EXPECT_EQ(def.valueNames[1], "Unused");
    EXPECT_EQ(def.valueNames[0], "Manual");
    EXPECT_EQ(def.values[2], 0x1FF);
    EXPECT_EQ(def.values[3], 0x1234);
    EXPECT_EQ(def.values[4], 9) << "no hexadecimal digit keeps the value";
    EXPECT_EQ(def.values[7], 7);
}

}  // namespace
}  // namespace tavo
