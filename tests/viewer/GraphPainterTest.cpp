#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "viewer/ViewerTestImages.h"
#include "viewer/paint/GraphPainter.h"

namespace tavo {
namespace {

using namespace test;  // the test images of ViewerTestImages.h

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGrey = qRgb(220, 220, 220);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kGreen = qRgb(0, 192, 0);

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000U;
}

int countPixels(const QImage& image, QRgb colour)
{
    int found = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            found += at(image, x, y) == colour ? 1 : 0;
    return found;
}

QImage draw(const RomImage& rom, const RomImage* comparison = nullptr)
{
    QImage bitmap;
    drawTableGraph(bitmap, rom, 0, comparison);
    return bitmap;
}

TEST(GraphPixels, the_image_is_258_pixels_square_on_white_with_green_ticks_every_16_steps)
{
    auto rom = blankImage();
    addEntry(*rom, TableType::Const8, 0x9100, "limit", "REVLIM");
    const QImage image = draw(*rom);
    ASSERT_EQ(image.width(), 258);
    ASSERT_EQ(image.height(), 258);
    EXPECT_EQ(at(image, 16, 250), kGreen);
    EXPECT_EQ(at(image, 16, 254), kGreen);
    EXPECT_EQ(at(image, 16, 255), kWhite) << "a line leaves its end pixel undrawn";
    EXPECT_EQ(at(image, 0, 240), kGreen);
    EXPECT_EQ(at(image, 4, 240), kGreen);
    EXPECT_EQ(at(image, 5, 240), kWhite);
    EXPECT_EQ(countPixels(image, kGreen), 150);
    EXPECT_EQ(countPixels(image, kWhite), 258 * 258 - 150);
}

TEST(GraphPixels, a_normal_table_leads_in_from_x_0_and_runs_out_to_x_255_in_two_pixel_black)
{
    auto rom = blankImage();
    putNormalTable(rom->image, TableType::Normal, 0x9000, {{16, 100}, {120, 80}, {200, 50}});
    addEntry(*rom, TableType::Normal, 0x9000, "fuel", "WOTTBL");
    const QImage image = draw(*rom);
    for (int x : {0, 8, 12}) {
        EXPECT_EQ(at(image, x, 156), kBlack) << x;
        EXPECT_EQ(at(image, x, 155), kBlack) << x;
        EXPECT_EQ(at(image, x, 157), kWhite) << x;
    }
    for (int x : {210, 240, 254}) {
        EXPECT_EQ(at(image, x, 206), kBlack) << x;
        EXPECT_EQ(at(image, x, 205), kBlack) << x;
        EXPECT_EQ(at(image, x, 207), kWhite) << x;
    }
    EXPECT_EQ(at(image, 255, 206), kWhite) << "the run-out ends before x = 255, as GDI's line does";
    // Blue 5 x 5 outlines around each point, over the curve.
    EXPECT_EQ(at(image, 14, 154), kBlue);
    EXPECT_EQ(at(image, 18, 158), kBlue);
    EXPECT_EQ(at(image, 14, 156), kBlue);
    EXPECT_EQ(at(image, 16, 156), kBlack) << "inside the marker the curve shows";
    EXPECT_EQ(at(image, 198, 204), kBlue);
    EXPECT_EQ(at(image, 202, 208), kBlue);
    EXPECT_EQ(countPixels(image, kGrey), 0) << "no comparison image";
}

TEST(GraphPixels, a_five_byte_table_runs_out_to_255_155_with_an_end_marker_there)
{
    auto rom = blankImage();
    putFiveByteTable(rom->image, 0x9000, {{0, 1000}, {240, 4800}});
    writeSlope(rom->image, TableType::FiveByte, 0x9000, 1, 1, 128);
    addEntry(*rom, TableType::FiveByte, 0x9000, "pulse", "INJPW");
    const QImage image = draw(*rom);
    EXPECT_EQ(at(image, 248, 155), kBlack);
    EXPECT_EQ(at(image, 252, 155), kBlack);
    // The end marker's outline from (253, 153) to (257, 157), the last column included.
    for (int y = 153; y <= 157; ++y) {
        EXPECT_EQ(at(image, 253, y), kBlue) << y;
        EXPECT_EQ(at(image, 257, y), kBlue) << y;
    }
    EXPECT_EQ(at(image, 255, 153), kBlue);
    EXPECT_EQ(at(image, 255, 157), kBlue);
    EXPECT_EQ(at(image, 256, 155), kWhite) << "inside the end marker";
}

TEST(GraphPixels, a_signed_point_of_minus_16_lies_at_row_144_under_the_dashed_blue_zero_line)
{
    auto rom = blankImage();
    putNormalTable(rom->image, TableType::Signed, 0x9000, {{32, static_cast<std::int8_t>(0xF0)}, {64, -16}});
    addEntry(*rom, TableType::Signed, 0x9000, "knock", "KNKRET");
    const QImage image = draw(*rom);
    EXPECT_EQ(at(image, 32, 144), kBlack) << "the point's own pixel, inside its marker";
    EXPECT_EQ(at(image, 100, 144), kBlack);
    EXPECT_EQ(at(image, 100, 143), kBlack);
    EXPECT_EQ(at(image, 100, 145), kWhite);
    EXPECT_EQ(at(image, 30, 146), kBlue);
    // The zero line: 18 pixels drawn, 6 left out.
    EXPECT_EQ(at(image, 0, 128), kBlue);
    EXPECT_EQ(at(image, 17, 128), kBlue);
    EXPECT_EQ(at(image, 18, 128), kWhite);
    EXPECT_EQ(at(image, 23, 128), kWhite);
    EXPECT_EQ(at(image, 24, 128), kBlue);
    EXPECT_EQ(at(image, 100, 129), kWhite) << "one pixel wide";
}

TEST(GraphPixels, the_comparison_curve_is_drawn_in_grey_behind_the_curve_only_when_given)
{
    auto rom = blankImage();
    putNormalTable(rom->image, TableType::Normal, 0x9000, {{16, 100}, {200, 50}});
    addEntry(*rom, TableType::Normal, 0x9000, "fuel", "WOTTBL");
    auto other = blankImage();
    putNormalTable(other->image, TableType::Normal, 0x9000, {{16, 100}, {120, 120}, {200, 50}});

    EXPECT_EQ(countPixels(draw(*rom), kGrey), 0);
    const QImage image = draw(*rom, other.get());
    EXPECT_EQ(at(image, 8, 156), kBlack) << "where both curves run, the working one is on top";
    EXPECT_EQ(at(image, 60, 147), kGrey);
    EXPECT_EQ(at(image, 60, 144), kWhite);
    EXPECT_EQ(at(image, 60, 150), kWhite);
    EXPECT_EQ(at(image, 230, 206), kBlack);
    EXPECT_EQ(at(image, 118, 134), kWhite) << "the comparison's points have no markers";
}

TEST(GraphPixels, drawing_again_reuses_the_image_and_paints_it_whole)
{
    auto rom = blankImage();
    putNormalTable(rom->image, TableType::Normal, 0x9000, {{16, 100}, {200, 50}});
    addEntry(*rom, TableType::Normal, 0x9000, "fuel", "WOTTBL");
    QImage bitmap;
    drawTableGraph(bitmap, *rom, 0, nullptr);
    const uchar* pixels = bitmap.constBits();
    putNormalTable(rom->image, TableType::Normal, 0x9000, {{16, 10}, {200, 10}});
    drawTableGraph(bitmap, *rom, 0, nullptr);
    EXPECT_EQ(bitmap.constBits(), pixels) << "the same image, not a new one";
    EXPECT_EQ(at(bitmap, 8, 156), kWhite) << "the old curve is gone";
    EXPECT_EQ(at(bitmap, 8, 246), kBlack);
}

}  // namespace
}  // namespace tavo
