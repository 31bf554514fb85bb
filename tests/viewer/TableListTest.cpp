#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScriptedPrompts.h"
#include "viewer/TableList.h"
#include "viewer/TableListEditing.h"
#include "viewer/ViewerTestImages.h"

namespace tavo {
namespace {

using test::addEntry;
using test::blankImage;

std::vector<std::string> namesInArrayOrder(const RomImage& rom)
{
    std::vector<std::string> names;
    for (int i = 0; i < rom.entryCount; ++i)
        names.push_back(rom.tables[static_cast<std::size_t>(i)].name);
    return names;
}

class TableListOrder : public ::testing::Test {
protected:
    std::unique_ptr<RomImage> rom = blankImage();

    void SetUp() override
    {
        addEntry(*rom, TableType::Value8, 0x9300, "gear choice", "GEARSL");
        addEntry(*rom, TableType::Normal, 0x9000, "WOT fuel", "WOTTBL");
        addEntry(*rom, TableType::Const8, 0x9100, "Rev limit", "revlim");
        addEntry(*rom, TableType::Signed, 0x9200, "knock retard", "KNKRET");
        addEntry(*rom, TableType::FiveByte, 0x8F00, "Pulse width", "INJPW");
    }
};

TEST_F(TableListOrder, names_sort_ascending_without_regard_to_case)
{
    sortTables(*rom, 0);
    EXPECT_EQ(namesInArrayOrder(*rom),
              (std::vector<std::string>{"gear choice", "knock retard", "Pulse width", "Rev limit", "WOT fuel"}));
}

TEST_F(TableListOrder, addresses_kinds_and_chrysler_names_sort_ascending_by_their_own_order)
{
    sortTables(*rom, 1);
    EXPECT_EQ(namesInArrayOrder(*rom),
              (std::vector<std::string>{"Pulse width", "WOT fuel", "Rev limit", "knock retard", "gear choice"}));
    sortTables(*rom, 2);
    EXPECT_EQ(namesInArrayOrder(*rom),
              (std::vector<std::string>{"WOT fuel", "Pulse width", "knock retard", "Rev limit", "gear choice"}));
    sortTables(*rom, 3);
    EXPECT_EQ(namesInArrayOrder(*rom),
              (std::vector<std::string>{"gear choice", "Pulse width", "knock retard", "Rev limit", "WOT fuel"}));
}

TEST_F(TableListOrder, sorting_twice_by_the_same_column_never_reverses_the_order)
{
    sortTables(*rom, 1);
    const auto once = namesInArrayOrder(*rom);
    sortTables(*rom, 1);
    EXPECT_EQ(namesInArrayOrder(*rom), once);
}

TEST_F(TableListOrder, an_unknown_column_leaves_the_array_alone_and_slots_past_the_count_are_not_touched)
{
    rom->tables[5].name = "aaa beyond the count";
    const auto before = namesInArrayOrder(*rom);
    sortTables(*rom, 4);
    sortTables(*rom, -1);
    EXPECT_EQ(namesInArrayOrder(*rom), before);
    sortTables(*rom, 0);
    EXPECT_EQ(rom->tables[5].name, "aaa beyond the count");
}

TEST_F(TableListOrder, rows_show_name_address_kind_and_chrysler_name_in_array_order)
{
    const auto rows = tableListRows(*rom);
    ASSERT_EQ(rows.size(), 5U);
    EXPECT_EQ(rows[0].name, "gear choice");
    EXPECT_EQ(rows[0].address, "9300");
    EXPECT_EQ(rows[0].type, "8-bit value (choice)");
    EXPECT_EQ(rows[0].chrysler, "GEARSL");
    EXPECT_EQ(rows[4].address, "8f00");
    EXPECT_EQ(rows[4].type, "5-byte table");
    EXPECT_EQ(rows[4].index, 4);
}

TEST(TableListTexts, every_kind_has_its_column_and_field_text_and_unknown_codes_have_none)
{
    EXPECT_EQ(typeColumnText(TableType::Normal), "Unsigned table");
    EXPECT_EQ(typeColumnText(TableType::Signed), "Signed table");
    EXPECT_EQ(typeColumnText(TableType::Const16), "16-bit Constant");
    EXPECT_EQ(typeColumnText(TableType::Flags8), "Bitfield");
    EXPECT_EQ(typeFieldText(TableType::Normal), "Unsigned table (x, y, slope)");
    EXPECT_EQ(typeFieldText(TableType::FiveByte), "5-byte table (x, Y, slope)");
    EXPECT_EQ(typeFieldText(TableType::Signed), "Signed table (x, -y, slope)");
    EXPECT_EQ(typeFieldText(TableType::Value8), "8-bit value (choice)");
    EXPECT_EQ(typeColumnText(static_cast<TableType>(7)), "");
    EXPECT_EQ(typeFieldText(static_cast<TableType>(-1)), "");
}

TEST(TableListTexts, the_caption_names_the_table_and_a_long_name_is_cut_to_the_caption_width)
{
    TableDef def;
    def.name = "WOTTBL";
    EXPECT_EQ(viewerCaption(def), "Quick Viewer - WOTTBL");
    def.name = std::string(255, 'n');
    EXPECT_EQ(viewerCaption(def).size(), 255U);
}

TEST(TableListTexts, a_name_is_found_from_the_top_without_regard_to_case)
{
    std::vector<TableListRow> rows(3);
    rows[0].name = "MAP fuel";
    rows[1].name = "wot fuel";
    rows[2].name = "WOT Fuel";
    EXPECT_EQ(findRowByName(rows, "WOT FUEL"), 1);
    EXPECT_EQ(findRowByName(rows, "idle"), -1);
}

TEST(TableListAdd, a_new_entry_is_a_normal_table_named_new_at_the_load_offset)
{
    auto rom = blankImage();
    addEntry(*rom, TableType::Const8, 0x9100, "Rev limit", "REVLIM");
    rom->tables[1].values[0] = 7;  // what the slot held before stays
    test::ScriptedPrompts prompts;
    ASSERT_EQ(addTable(*rom, prompts), 1);
    const TableDef& def = rom->tables[1];
    EXPECT_EQ(rom->entryCount, 2);
    EXPECT_EQ(def.name, "new");
    EXPECT_EQ(def.chryslerName, "NAME");
    EXPECT_EQ(def.type, TableType::Normal);
    EXPECT_EQ(def.offset, 0x8000);
    EXPECT_EQ(def.axes.xMax, "256");
    EXPECT_EQ(def.axes.xUnits, "in");
    EXPECT_EQ(def.axes.yUnits, "out");
    EXPECT_EQ(def.description, "Description");
    EXPECT_EQ(def.values[0], 7);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(TableListAdd, a_full_table_array_refuses_the_new_entry_and_says_so)
{
    auto rom = blankImage();
    rom->entryCount = kTableCapacity;
    test::ScriptedPrompts prompts;
    EXPECT_EQ(addTable(*rom, prompts), -1);
    EXPECT_EQ(rom->entryCount, kTableCapacity);
    EXPECT_EQ(rom->tables.size(), static_cast<std::size_t>(kTableCapacity));
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].text, kTableListFull);
    EXPECT_EQ(prompts.messages[0].title, "TaVO");
}

TEST(TableListDelete, yes_moves_the_following_entries_down_and_no_keeps_everything)
{
    auto rom = blankImage();
    addEntry(*rom, TableType::Normal, 0x9000, "first", "A");
    addEntry(*rom, TableType::Normal, 0x9010, "second", "B");
    addEntry(*rom, TableType::Normal, 0x9020, "third", "C");
    test::ScriptedPrompts prompts;
    prompts.answers = {Answer::No, Answer::Yes};

    EXPECT_FALSE(deleteTable(*rom, 1, prompts));
    EXPECT_EQ(rom->entryCount, 3);
    EXPECT_TRUE(deleteTable(*rom, 1, prompts));
    EXPECT_EQ(namesInArrayOrder(*rom), (std::vector<std::string>{"first", "third"}));
    ASSERT_EQ(prompts.questions.size(), 2U);
    EXPECT_EQ(prompts.questions[0].text, "Are you sure you want to delete: second ?");
    EXPECT_EQ(prompts.questions[0].title, "TaVO");
    EXPECT_EQ(prompts.questions[0].buttons, QuestionButtons::YesNo);
}

TEST(TableListDelete, no_selection_asks_nothing_and_removes_nothing)
{
    auto rom = blankImage();
    addEntry(*rom, TableType::Normal, 0x9000, "first", "A");
    test::ScriptedPrompts prompts;
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(deleteTable(*rom, -1, prompts));
    EXPECT_FALSE(deleteTable(*rom, 1, prompts));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(rom->entryCount, 1);
}

TEST(TableListDelete, an_image_without_tables_is_reported_once_with_the_information_icon)
{
    auto rom = blankImage();
    test::ScriptedPrompts prompts;
    EXPECT_FALSE(reportWhenNoTables(*rom, prompts));
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].text, "No Table Data to View");
    EXPECT_EQ(prompts.messages[0].title, "TaVO");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
    addEntry(*rom, TableType::Normal, 0x9000, "first", "A");
    EXPECT_TRUE(reportWhenNoTables(*rom, prompts));
    EXPECT_EQ(prompts.messages.size(), 1U);
}

}  // namespace
}  // namespace tavo
