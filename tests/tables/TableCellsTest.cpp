#include <gtest/gtest.h>

#include <memory>

#include "tables/TableCells.h"

namespace tavo {
namespace {

TEST(SlopeDecoding, the_tabular_view_reads_0x80_as_plus_128_and_above_as_negative)
{
    EXPECT_FLOAT_EQ(decodeSlope(0x01, 0x80), 1.5F);
    EXPECT_FLOAT_EQ(decodeSlope(0xFF, 0x80), -0.5F);
    EXPECT_FLOAT_EQ(decodeSlope(0x80, 0x00), 128.0F);
    EXPECT_FLOAT_EQ(decodeSlope(0x80, 0x40), 128.25F);
    EXPECT_EQ(slopeAsSigned16(0x80, 0x00), -32768);
    EXPECT_EQ(slopeAsSigned16(0x00, 0x10), 16);
}

TEST(SlopeEncoding, negative_slopes_of_unsigned_and_signed_tables_get_an_ff_integer_byte)
{
    EXPECT_EQ(encodeSlope(-0.25F, TableType::Normal), (SlopeBytes{0xFF, 0xC0}));
    EXPECT_EQ(encodeSlope(-1.25F, TableType::Normal), (SlopeBytes{0xFF, 0xC0}));
    EXPECT_EQ(encodeSlope(-0.5F, TableType::Signed), (SlopeBytes{0xFF, 0x80}));
    EXPECT_EQ(encodeSlope(1.5F, TableType::Normal), (SlopeBytes{0x01, 0x80}));
    EXPECT_EQ(encodeSlope(-0.25F, TableType::FiveByte), (SlopeBytes{0x00, 0xC0}));
    EXPECT_EQ(encodeSlope(50.0F, TableType::FiveByte), (SlopeBytes{0x32, 0x00}));
}

TEST(SlopeEncoding, a_vertical_segment_stores_the_bytes_an_infinite_quotient_always_gave)
{
    EXPECT_EQ(segmentSlope(255, 10, 255, 20, TableType::Normal), (SlopeBytes{0x00, 0x00}));
    EXPECT_EQ(segmentSlope(255, 20, 255, 10, TableType::Normal), (SlopeBytes{0xFF, 0x00}));
    EXPECT_EQ(segmentSlope(255, 20, 255, 10, TableType::Signed), (SlopeBytes{0xFF, 0x00}));
    EXPECT_EQ(segmentSlope(255, 20, 255, 10, TableType::FiveByte), (SlopeBytes{0x00, 0x00}));
    EXPECT_EQ(segmentSlope(7, 20, 7, 20, TableType::Normal), (SlopeBytes{0x00, 0x00}));
}

TEST(SlopeRecomputation, a_dragged_normal_table_gets_the_slopes_of_its_new_points)
{
    auto image = std::make_unique<ImageBuffer>();
    const int at = 0x9000;
    (*image)[at] = 3;
    writePoint(*image, TableType::Normal, at, 0, 0, 100);
    writePoint(*image, TableType::Normal, at, 1, 16, 92);
    writePoint(*image, TableType::Normal, at, 2, 40, 70);
    writeSlope(*image, TableType::Normal, at, 2, 0x12, 0x34);
    recomputeSlopes(*image, TableType::Normal, at);
    const TablePoint p0 = readPoint(*image, TableType::Normal, at, 0);
    const TablePoint p1 = readPoint(*image, TableType::Normal, at, 1);
    const TablePoint p2 = readPoint(*image, TableType::Normal, at, 2);
    EXPECT_EQ(p0.slopeHigh, 0xFF);
    EXPECT_EQ(p0.slopeLow, 0x80);
    EXPECT_EQ(p1.slopeHigh, 0xFF);
    EXPECT_EQ(p1.slopeLow, 0x16);
    EXPECT_EQ(p2.slopeHigh, 0x12) << "the last row's slope is kept";
    EXPECT_EQ(p2.slopeLow, 0x34);
}

TEST(SlopeRecomputation, a_five_byte_table_is_recomputed_up_to_its_end_row)
{
    auto image = std::make_unique<ImageBuffer>();
    const int at = 0x9100;
    writePoint(*image, TableType::FiveByte, at, 0, 0, 1000);
    writePoint(*image, TableType::FiveByte, at, 1, 16, 1800);
    (*image)[at + 10] = 0xFF;
    writeSlope(*image, TableType::FiveByte, at, 1, 0x07, 0x07);
    recomputeSlopes(*image, TableType::FiveByte, at);
    EXPECT_EQ((*image)[at + 3], 0x32);
    EXPECT_EQ((*image)[at + 4], 0x00);
    EXPECT_EQ((*image)[at + 8], 0x07) << "the last data row keeps its slope";
}

TEST(AddressSpaceBounds, rows_past_0xffff_are_never_read_or_written)
{
    auto image = std::make_unique<ImageBuffer>();
    // A Normal table at 0xFFF0 claiming 255 rows: only the rows whose x and y
    // lie below 0x10000 exist.
    (*image)[0xFFF0] = 255;
    EXPECT_EQ(rowsInSpace(TableType::Normal, 0xFFF0, 255), 4);
    EXPECT_EQ(rowsInSpace(TableType::Normal, 0xFFFE, 3), 0);
    EXPECT_EQ(rowsInSpace(TableType::FiveByte, 0xFFF6, 100), 2);
    recomputeSlopes(*image, TableType::Normal, 0xFFF0);  // must stay inside the buffer
    EXPECT_FALSE(setByteAt(*image, 0x10000, 1));
    EXPECT_FALSE(byteAt(*image, -1));
    EXPECT_EQ(readPoint(*image, TableType::FiveByte, 0xFFFE, 0).slopeLow, 0);
}

TEST(FiveByteRowCount, the_first_row_always_counts_and_the_count_stops_at_the_end_row)
{
    auto image = std::make_unique<ImageBuffer>();
    (*image)[0x9000] = 0xFF;
    (*image)[0x9005] = 0xFF;
    EXPECT_EQ(countFiveByteRows(*image, 0x9000), 1);
    (*image)[0x9005] = 0x10;
    (*image)[0x900A] = 0x20;
    (*image)[0x900F] = 0xFF;
    EXPECT_EQ(countFiveByteRows(*image, 0x9000), 3);
}

TEST(FiveByteRowCount, a_table_without_an_end_row_before_0xffff_has_the_rows_that_fit)
{
    auto image = std::make_unique<ImageBuffer>();
    EXPECT_EQ(countFiveByteRows(*image, 0xFFE0), (0x10000 - 0xFFE0) / 5);
    EXPECT_EQ(countFiveByteRows(*image, 0xFFFC), 0);
}

}  // namespace
}  // namespace tavo
