#include <gtest/gtest.h>

#include <memory>

#include "tables/ShapeTests.h"
#include "tables/TableCells.h"

namespace tavo {
namespace {

class ShapeTest : public ::testing::Test {
protected:
    std::unique_ptr<ImageBuffer> image = std::make_unique<ImageBuffer>();

    void normalRows(int at, std::initializer_list<std::array<int, 4>> rows)
    {
        (*image)[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(rows.size());
        int i = 0;
        for (const auto& row : rows) {
            writePoint(*image, TableType::Normal, at, i, row[0], row[1]);
            writeSlope(*image, TableType::Normal, at, i, static_cast<std::uint8_t>(row[2]),
                       static_cast<std::uint8_t>(row[3]));
            ++i;
        }
    }
};

TEST_F(ShapeTest, a_count_of_zero_is_no_table_and_a_count_of_one_is_taken_unseen)
{
    (*image)[0x9000] = 0;
    EXPECT_EQ(testNormalTable(*image, 0x9000), 0);
    (*image)[0x9000] = 1;
    EXPECT_EQ(testNormalTable(*image, 0x9000), 1);
}

TEST_F(ShapeTest, x_must_rise_strictly_in_a_normal_table)
{
    normalRows(0x9000, {{{10, 5, 0, 0}}, {{20, 6, 0, 0}}, {{30, 7, 0, 0}}});
    EXPECT_EQ(testNormalTable(*image, 0x9000), 3);
    normalRows(0x9000, {{{10, 5, 0, 0}}, {{20, 6, 0, 0}}, {{20, 7, 0, 0}}});
    EXPECT_EQ(testNormalTable(*image, 0x9000), 0);
}

TEST_F(ShapeTest, a_slope_that_contradicts_an_unsigned_reading_marks_the_table_signed)
{
    // y falls from 0 to 0xFC (-4): unsigned it would rise, but the slope is negative.
    normalRows(0x9000, {{{0, 0, 0xFF, 0xE0}}, {{32, 0xFC, 0, 0}}});
    EXPECT_EQ(testNormalTable(*image, 0x9000), -2);
    // The same bytes with a rising slope read as unsigned.
    normalRows(0x9000, {{{0, 0, 0x07, 0xE0}}, {{32, 0xFC, 0, 0}}});
    EXPECT_EQ(testNormalTable(*image, 0x9000), 2);
}

TEST_F(ShapeTest, a_table_whose_rows_run_past_0xffff_is_rejected)
{
    (*image)[0xFFF8] = 5;
    EXPECT_EQ(testNormalTable(*image, 0xFFF8), 0);
    (*image)[0xFFFF] = 1;
    EXPECT_EQ(testNormalTable(*image, 0xFFFF), 0);
}

TEST_F(ShapeTest, a_five_byte_table_whose_second_row_starts_with_ff_has_one_row)
{
    (*image)[0x9000] = 0xFF;
    (*image)[0x9005] = 0xFF;
    EXPECT_EQ(testFiveByteTable(*image, 0x9000), 1);
}

TEST_F(ShapeTest, five_byte_tables_take_seventeen_rows_and_reject_eighteen)
{
    for (int rows : {17, 18}) {
        image->fill(0);
        for (int i = 0; i < rows; ++i)
            (*image)[0x9000 + 5 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 8);
        (*image)[0x9000 + 5 * static_cast<std::size_t>(rows)] = 0xFF;
        EXPECT_EQ(testFiveByteTable(*image, 0x9000), rows == 17 ? 17 : 0) << rows;
    }
}

TEST_F(ShapeTest, five_byte_x_may_repeat_but_not_fall)
{
    (*image)[0x9000] = 10;
    (*image)[0x9005] = 10;
    (*image)[0x900A] = 0xFF;
    EXPECT_EQ(testFiveByteTable(*image, 0x9000), 2);
    (*image)[0x9005] = 9;
    EXPECT_EQ(testFiveByteTable(*image, 0x9000), 0);
    // Near the top of the space the rows run out before an end row.
    EXPECT_EQ(testFiveByteTable(*image, 0xFFFC), 0);
    EXPECT_EQ(testFiveByteTable(*image, 0xFFF0), 0);
}

}  // namespace
}  // namespace tavo
