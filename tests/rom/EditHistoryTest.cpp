#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "SampleCalibration.h"
#include "rom/EditHistory.h"
#include "rom/RomImage.h"
#include "tables/TableCells.h"

namespace tavo {
namespace {

// The bytes, ROM information and definitions of two records are the same.
::testing::AssertionResult sameImage(const RomImage& a, const RomImage& b)
{
    if (a.image != b.image)
        return ::testing::AssertionFailure() << "the bytes differ";
    if (!sameInformation(romInformationOf(a), romInformationOf(b)))
        return ::testing::AssertionFailure() << "the ROM information differs";
    if (a.entryCount != b.entryCount)
        return ::testing::AssertionFailure() << a.entryCount << " entries against " << b.entryCount;
    for (int i = 0; i < a.entryCount; ++i) {
        const TableDef& x = a.tables[static_cast<std::size_t>(i)];
        const TableDef& y = b.tables[static_cast<std::size_t>(i)];
        if (!sameDefinition(x, y))
            return ::testing::AssertionFailure() << "entry " << i << ": " << x.name << " against " << y.name;
        if (x.index != i || x.image != &a.image || x.count != rowCountOf(a.image, x))
            return ::testing::AssertionFailure() << "entry " << i << " is not bound";
    }
    return ::testing::AssertionSuccess();
}

class EditHistoryTest : public ::testing::Test {
protected:
    std::unique_ptr<RomImage> rom = sample::makeSampleCalibration();
    EditHistory history;

    void SetUp() override { history.restart(*rom); }
    TableDef& entry(int i) { return rom->tables[static_cast<std::size_t>(i)]; }
    std::unique_ptr<RomImage> copy() const { return std::make_unique<RomImage>(*rom); }
};

TEST_F(EditHistoryTest, undo_and_redo_restore_the_bytes_the_information_and_the_definitions_of_each_kind_of_step)
{
    std::vector<std::unique_ptr<RomImage>> states;
    states.push_back(copy());
    auto step = [&](const char* name, auto change) {
        change();
        ASSERT_TRUE(history.record(*rom, name)) << name;
        states.push_back(copy());
    };
    const int wot = entry(0).offset;
    step("Drag Point", [&] {
        writePoint(rom->image, TableType::Normal, wot, 2, 50, 200);
        recomputeSlopes(rom->image, TableType::Normal, wot);
    });
    step("ROM Information", [&] {
        rom->description = "Stage 2";
        rom->loadOffset = 0x4000;
    });
    step("Change Definition", [&] { entry(2).name = "Renamed"; });
    step("Add Definition", [&] {
        entry(rom->entryCount) = entry(0);
        entry(rom->entryCount).name = "new";
        ++rom->entryCount;
    });
    step("Delete Definition", [&] {
        std::rotate(rom->tables.begin() + 1, rom->tables.begin() + 2, rom->tables.begin() + rom->entryCount);
        --rom->entryCount;
    });
    ASSERT_EQ(history.size(), 5U);

    const std::vector<std::string> names = {"Drag Point", "ROM Information", "Change Definition", "Add Definition",
                                            "Delete Definition"};
    for (std::size_t k = names.size(); k-- > 0;) {
        EXPECT_EQ(history.undoName(), names[k]);
        ASSERT_NE(history.undo(*rom), nullptr);
        EXPECT_TRUE(sameImage(*rom, *states[k])) << "undo " << names[k];
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.undo(*rom), nullptr);
    for (std::size_t k = 0; k < names.size(); ++k) {
        EXPECT_EQ(history.redoName(), names[k]);
        ASSERT_NE(history.redo(*rom), nullptr);
        EXPECT_TRUE(sameImage(*rom, *states[k + 1])) << "redo " << names[k];
    }
    EXPECT_FALSE(history.canRedo());
}

TEST_F(EditHistoryTest, nothing_changed_is_no_step_and_a_new_step_drops_the_undone_ones)
{
    EXPECT_FALSE(history.record(*rom, "Table Editor"));
    rom->image[0x9100] ^= 1;
    ASSERT_TRUE(history.record(*rom, "Edit Constant"));
    rom->image[0x9101] ^= 1;
    ASSERT_TRUE(history.record(*rom, "Change Bit"));
    history.undo(*rom);
    EXPECT_TRUE(history.canRedo());
    rom->image[0x9102] ^= 1;
    ASSERT_TRUE(history.record(*rom, "Change Choice"));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.size(), 2U);
    EXPECT_EQ(history.undoName(), "Change Choice");

    history.restart(*rom);
    EXPECT_FALSE(history.canUndo()) << "a loaded image starts anew";
    EXPECT_EQ(history.memoryUsed(), 0U);
}

TEST_F(EditHistoryTest, the_keystrokes_of_one_typed_value_are_one_step_and_typing_it_back_leaves_none)
{
    const int at = 0x9141;
    const std::uint8_t before = rom->image[at];
    for (std::uint8_t typed : {0x01, 0x1F, 0xAB}) {
        rom->image[at] = typed;
        history.record(*rom, "Edit Constant", "Target Idle Speed", 7);
    }
    ASSERT_EQ(history.size(), 1U);
    rom->image[at] = 0x12;
    history.record(*rom, "Edit Constant", "Target Idle Speed", 8);  // another value typed later
    ASSERT_EQ(history.size(), 2U);
    history.undo(*rom);
    EXPECT_EQ(rom->image[at], 0xAB);
    EXPECT_EQ(history.undo(*rom)->focus, "Target Idle Speed");
    EXPECT_EQ(rom->image[at], before);

    history.redo(*rom);
    history.redo(*rom);
    rom->image[at] = 0x55;
    history.record(*rom, "Edit Constant", {}, 9);
    rom->image[at] = 0x12;
    history.record(*rom, "Edit Constant", {}, 9);
    EXPECT_EQ(history.size(), 2U) << "typed back to where it began: no step is left";
}

TEST_F(EditHistoryTest, a_step_is_taken_back_by_content_after_the_definitions_were_sorted)
{
    const auto original = copy();
    entry(3).name = "Renamed";
    history.record(*rom, "Change Definition");
    const std::string deleted = entry(5).name;
    std::rotate(rom->tables.begin() + 5, rom->tables.begin() + 6, rom->tables.begin() + rom->entryCount);
    --rom->entryCount;
    history.record(*rom, "Delete Definition");
    const auto edited = copy();

    // The viewer sorts the array itself; that is no step.
    std::reverse(rom->tables.begin(), rom->tables.begin() + rom->entryCount);
    bindTables(*rom);
    history.absorb(*rom);
    EXPECT_FALSE(history.record(*rom, "Sort"));

    history.undo(*rom);
    history.undo(*rom);
    ASSERT_EQ(rom->entryCount, original->entryCount);
    for (int i = 0; i < original->entryCount; ++i) {
        const TableDef& want = original->tables[static_cast<std::size_t>(i)];
        EXPECT_EQ(std::count_if(rom->tables.begin(), rom->tables.begin() + rom->entryCount,
                                [&](const TableDef& def) { return sameDefinition(def, want); }),
                  1)
            << want.name;
    }
    history.redo(*rom);
    history.redo(*rom);
    EXPECT_EQ(rom->entryCount, edited->entryCount);
    for (int i = 0; i < rom->entryCount; ++i)
        EXPECT_NE(entry(i).name, deleted);
    EXPECT_EQ(std::count_if(rom->tables.begin(), rom->tables.begin() + rom->entryCount,
                            [](const TableDef& def) { return def.name == "Renamed"; }),
              1);
}

TEST(EditHistoryBound, small_steps_are_kept_up_to_the_budget_and_the_last_1000_always)
{
    auto rom = sample::makeSampleCalibration();
    EditHistory small(std::size_t{1} << 20);
    small.restart(*rom);
    for (int k = 0; k < 3000; ++k) {
        rom->image[0x9141] = static_cast<std::uint8_t>(k);
        ASSERT_TRUE(small.record(*rom, "Edit Constant"));
    }
    EXPECT_EQ(small.size(), 3000U) << "3000 one-byte steps fit in 1 MiB";
    EXPECT_LE(small.memoryUsed(), small.budget());

    // Steps of 4 KiB each: 1 MiB holds fewer than 1000, and 1000 are kept.
    EditHistory large(std::size_t{1} << 20);
    large.restart(*rom);
    const auto first = std::make_unique<RomImage>(*rom);
    for (int k = 1; k <= 1100; ++k) {
        std::fill_n(rom->image.begin() + 0xA000, 4096, static_cast<std::uint8_t>(k));
        ASSERT_TRUE(large.record(*rom, "Scale Table"));
    }
    EXPECT_EQ(large.size(), EditHistory::kMinimumSteps);
    int undone = 0;
    while (large.undo(*rom))
        ++undone;
    EXPECT_EQ(undone, 1000);
    EXPECT_EQ(rom->image[0xA000], 100) << "back to the state after the last step dropped";
    EXPECT_NE(rom->image, first->image);
}

}  // namespace
}  // namespace tavo
