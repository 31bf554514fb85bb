// tavo-cli graph: the Quick Viewer's graph of one table as a PNG file.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <filesystem>
#include <sstream>

#include "SampleCalibration.h"
#include "cli/CliCommands.h"
#include "support/CliRun.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

class TavoCliGraph : public test::CliRun {
protected:
    std::string png() const { return dir.file("graph.png"); }
    QImage written() const { return QImage(QString::fromStdString(png())); }
};

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000U;
}

TEST_F(TavoCliGraph, writes_the_258_pixel_graph_of_a_table_as_png)
{
    ASSERT_EQ(run({"graph", sample(), "wottbl", "--png", png()}), 0) << err;
    const QImage image = written();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 258);
    EXPECT_EQ(image.height(), 258);
    EXPECT_EQ(at(image, 5, 160), qRgb(0, 0, 0)) << "WOTTBL's lead-in at its first point (16, 96)";
    EXPECT_EQ(at(image, 16, 252), qRgb(0, 192, 0)) << "a tick";
    EXPECT_EQ(at(image, 5, 154), qRgb(255, 255, 255)) << "no comparison curve";
    EXPECT_NE(out.find("WOTTBL"), std::string::npos);
}

TEST_F(TavoCliGraph, draws_the_other_images_bytes_behind_the_curve_with_compare)
{
    ASSERT_EQ(run({"graph", sample(), "WOTTBL", "--png", png(), "--compare", dir.file("sample-compare.bin")}), 0)
        << err;
    EXPECT_EQ(at(written(), 5, 154), qRgb(220, 220, 220)) << "the richer comparison starts at y 102";
}

TEST_F(TavoCliGraph, refuses_entries_without_a_graph_unknown_keys_and_a_missing_comparison)
{
    EXPECT_EQ(run({"graph", sample(), "REVLIM", "--png", png()}), 1);
    EXPECT_NE(err.find("Const8"), std::string::npos) << err;
    EXPECT_EQ(run({"graph", sample(), "NOSUCH", "--png", png()}), 1);
    EXPECT_EQ(run({"graph", sample(), "WOTTBL", "--png", png(), "--compare", dir.file("none.bin")}), 1);
    EXPECT_FALSE(std::filesystem::exists(png()));
    EXPECT_EQ(run({"graph", sample(), "WOTTBL", "--png", dir.file("no/such/folder/graph.png")}), 1);
}

TEST_F(TavoCliGraph, needs_an_image_a_key_and_an_output_file)
{
    EXPECT_EQ(run({"graph", sample(), "WOTTBL"}), 2);
    EXPECT_EQ(run({"graph", sample(), "--png", png()}), 2);
    EXPECT_EQ(run({"graph", sample(), "WOTTBL", "extra", "--png", png()}), 2);
}

// On Windows names are UTF-16: bytes that are not UTF-8 name no file, and
// symbolic links need a privilege; the Windows file layer's own tests cover both.
#ifndef _WIN32
TEST_F(TavoCliGraph, writes_under_exactly_the_bytes_of_a_name_that_is_not_utf8)
{
    const std::string name = dir.file("g\xe9.png");
    ASSERT_EQ(run({"graph", sample(), "WOTTBL", "--png", name}), 0) << err;
    EXPECT_EQ(test::readText(name).rfind("\x89PNG", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("g\xef\xbf\xbd.png")));
}

TEST_F(TavoCliGraph, saves_through_a_link_and_refuses_a_read_only_picture)
{
    test::writeText(dir.file("real.png"), "old");
    std::filesystem::create_symlink("real.png", png());
    ASSERT_EQ(run({"graph", sample(), "WOTTBL", "--png", png()}), 0) << err;
    EXPECT_TRUE(std::filesystem::is_symlink(png()));
    EXPECT_EQ(written().width(), 258);
    std::filesystem::permissions(dir.file("real.png"), std::filesystem::perms::owner_read);
    EXPECT_EQ(run({"graph", sample(), "WOTTBL", "--png", png()}), 1);
    EXPECT_NE(err.find(png() + ": The file is read-only."), std::string::npos) << err;
}
#endif

}  // namespace
}  // namespace tavo
