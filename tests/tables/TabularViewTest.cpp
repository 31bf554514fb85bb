#include <gtest/gtest.h>

#include <memory>

#include "tables/TableCells.h"
#include "tables/TabularView.h"

namespace tavo {
namespace {

TEST(TabularSlopeText, shows_both_bytes_then_the_decoded_slope_with_four_decimals)
{
    EXPECT_EQ(slopeText(0x01, 0x80), "0180 (1.5000)");
    EXPECT_EQ(slopeText(0xFF, 0x80), "ff80 (-0.5000)");
    EXPECT_EQ(slopeText(0x80, 0x00), "8000 (128.0000)");
    EXPECT_EQ(slopeText(0x00, 0x01), "0001 (0.0039)");
}

class TabularViewOfImage : public ::testing::Test {
protected:
    std::unique_ptr<ImageBuffer> image = std::make_unique<ImageBuffer>();
    TableDef def;

    void SetUp() override
    {
        def.image = image.get();
        def.offset = 0x9000;
        def.name = "Spark Advance";
    }
};

TEST_F(TabularViewOfImage, a_normal_table_of_3_rows_leaves_the_last_slope_blank)
{
    def.type = TableType::Normal;
    def.count = 3;
    (*image)[0x9000] = 3;
    writePoint(*image, TableType::Normal, 0x9000, 0, 0x0A, 0x05);
    writePoint(*image, TableType::Normal, 0x9000, 1, 0x20, 0xC8);
    writePoint(*image, TableType::Normal, 0x9000, 2, 0xF0, 0xFF);
    writeSlope(*image, TableType::Normal, 0x9000, 0, 0x01, 0x80);
    writeSlope(*image, TableType::Normal, 0x9000, 1, 0xFF, 0x80);
    writeSlope(*image, TableType::Normal, 0x9000, 2, 0x12, 0x34);
    const TabularView view = tabularViewOf(def);
    EXPECT_EQ(view.title, "Spark Advance");
    EXPECT_EQ(view.kind, "Normal");
    ASSERT_EQ(view.rows.size(), 3U);
    EXPECT_EQ(view.rows[0].compare, "0a");
    EXPECT_EQ(view.rows[0].result, "05");
    EXPECT_EQ(view.rows[0].slope, "0180 (1.5000)");
    EXPECT_EQ(view.rows[1].result, "c8");
    EXPECT_EQ(view.rows[1].slope, "ff80 (-0.5000)");
    EXPECT_EQ(view.rows[2].compare, "f0");
    EXPECT_EQ(view.rows[2].slope, " ");
    EXPECT_EQ(view.rows[2].row, 2);
}

TEST_F(TabularViewOfImage, a_signed_table_shows_the_raw_y_byte)
{
    def.type = TableType::Signed;
    def.count = 2;
    (*image)[0x9000] = 2;
    writePoint(*image, TableType::Signed, 0x9000, 0, 0x00, -3);
    writePoint(*image, TableType::Signed, 0x9000, 1, 0x40, 5);
    const TabularView view = tabularViewOf(def);
    EXPECT_EQ(view.kind, "Signed");
    ASSERT_EQ(view.rows.size(), 2U);
    EXPECT_EQ(view.rows[0].result, "fd");
    EXPECT_EQ(view.rows[1].slope, " ");
}

TEST_F(TabularViewOfImage, a_five_byte_table_with_count_1_shows_its_row_and_slope)
{
    def.type = TableType::FiveByte;
    def.count = 1;
    writePoint(*image, TableType::FiveByte, 0x9000, 0, 0x10, 0x03E8);
    writeSlope(*image, TableType::FiveByte, 0x9000, 0, 0x80, 0x00);
    (*image)[0x9005] = 0xFF;
    const TabularView view = tabularViewOf(def);
    EXPECT_EQ(view.kind, "5-Byte");
    ASSERT_EQ(view.rows.size(), 1U);
    EXPECT_EQ(view.rows[0].compare, "10");
    EXPECT_EQ(view.rows[0].result, "03e8");
    EXPECT_EQ(view.rows[0].slope, "8000 (128.0000)");
}

TEST_F(TabularViewOfImage, constants_flags_and_choices_have_no_rows_and_no_kind)
{
    for (TableType type : {TableType::Const8, TableType::Const16, TableType::Flags8, TableType::Value8}) {
        def.type = type;
        def.count = 0;
        const TabularView view = tabularViewOf(def);
        EXPECT_TRUE(view.rows.empty());
        EXPECT_EQ(view.kind, "");
        EXPECT_EQ(view.title, "Spark Advance");
    }
}

TEST_F(TabularViewOfImage, rows_are_shown_only_as_far_as_the_address_space_goes)
{
    def.type = TableType::Normal;
    def.offset = 0xFFF0;
    def.count = 255;
    (*image)[0xFFF0] = 255;
    EXPECT_EQ(tabularViewOf(def).rows.size(), 4U);
    def.image = nullptr;
    EXPECT_TRUE(tabularViewOf(def).rows.empty());
}

}  // namespace
}  // namespace tavo
