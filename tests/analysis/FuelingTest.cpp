#include <gtest/gtest.h>

#include <memory>

#include "SampleCalibration.h"
#include "analysis/FuelTables.h"
#include "analysis/FuelingChoices.h"
#include "rom/RomImage.h"
#include "support/ScriptedPrompts.h"

namespace tavo {
namespace {

class FuelTableLookup : public ::testing::Test {
protected:
    std::unique_ptr<RomImage> rom = sample::makeSampleCalibration();
    test::ScriptedPrompts prompts;

    TableDef& entry(int index) { return rom->tables[static_cast<std::size_t>(index)]; }
};

TEST_F(FuelTableLookup, names_match_without_regard_to_case_and_the_first_entry_wins)
{
    entry(0).chryslerName = "wottbl";
    entry(2).chryslerName = "MapIdl";
    entry(5).chryslerName = "MAPTBL";  // a second MAPTBL, after the first
    const FuelTables tables = findFuelTables(*rom);
    EXPECT_EQ(tables.fullThrottle, 0);
    EXPECT_EQ(tables.idle, 2);
    EXPECT_EQ(tables.partThrottle, 1);
}

TEST_F(FuelTableLookup, only_entries_in_use_count)
{
    rom->entryCount = 3;  // PEFTBL is left in a free slot
    EXPECT_EQ(findFuelTables(*rom).pump, -1);
    EXPECT_EQ(fuelTableSummary(*rom, findFuelTables(*rom)), "WOT = 36864, PART = 36912, IDLE = 36960, PUMP = 0");
}

TEST_F(FuelTableLookup, an_entry_outside_the_address_space_is_no_table)
{
    entry(1).offset = 0x10000;
    EXPECT_EQ(findFuelTables(*rom).partThrottle, -1);
    EXPECT_FALSE(requireFuelTables(*rom, prompts));
}

TEST_F(FuelTableLookup, an_image_without_definitions_lacks_them_all)
{
    RomImage empty;
    EXPECT_FALSE(requireFuelTables(empty, prompts));
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST(FuelingChoiceOrder, sorted_lists_order_text_without_regard_to_case_and_keep_equal_ones_as_added)
{
    EXPECT_EQ(sortedLikeComboBox({"b", "C", "33pph", "B", "a", "33.25pph"}),
              (std::vector<std::string>{"33.25pph", "33pph", "a", "b", "B", "C"}));
}

TEST(FuelingChoiceOrder, full_part_and_idle_show_the_three_fuel_tables)
{
    FuelTables tables;
    tables.fullThrottle = 7;
    tables.partThrottle = 4;
    tables.idle = 9;
    tables.pump = 2;
    EXPECT_EQ(graphEntryForItem(tables, 0), 7);
    EXPECT_EQ(graphEntryForItem(tables, 1), 4);
    EXPECT_EQ(graphEntryForItem(tables, 2), 9);
    EXPECT_EQ(graphEntryForItem(tables, -1), -1) << "no item chosen";
    EXPECT_EQ(graphEntryForItem(tables, 3), -1);
}

}  // namespace
}  // namespace tavo
