// The one save and read path against Windows' own rules: files other
// programs hold open, attributes, long and non-ASCII names, devices.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "common/AtomicFile.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

std::wstring wide(const std::string& utf8)
{
    return fs::u8path(utf8).wstring();
}

// A handle another program would hold, with the sharing it allows others.
class OpenElsewhere {
public:
    OpenElsewhere(const std::string& path, DWORD share)
        : handle_(::CreateFileW(wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~OpenElsewhere() { ::CloseHandle(handle_); }
    OpenElsewhere(const OpenElsewhere&) = delete;
    OpenElsewhere& operator=(const OpenElsewhere&) = delete;
    bool open() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

TEST(SafeSaveOnWindows, a_file_another_program_holds_without_sharing_deletion_is_refused_and_left_as_it_was)
{
    test::TempDir dir;
    const std::string path = dir.file("cal.bin");
    test::writeText(path, "old");
    {
        const OpenElsewhere editor(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(editor.open());
        const FileStatus status = writeFileAtomically(path, "new");
        EXPECT_FALSE(status);
        EXPECT_EQ(status.reason(), "The file is open in another program.");
        EXPECT_EQ(dir.names(), std::vector<std::string>{"cal.bin"}) << "no temporary file is left";
    }
    EXPECT_EQ(test::readText(path), "old");
    // Once the other program lets go the save goes through.
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(test::readText(path), "new");
}

TEST(SafeSaveOnWindows, a_file_another_program_reads_with_full_sharing_is_replaced)
{
    test::TempDir dir;
    const std::string path = dir.file("cal.tbl");
    test::writeText(path, "old");
    const OpenElsewhere viewer(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(viewer.open());
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(test::readText(path), "new");
}

TEST(SafeSaveOnWindows, a_read_only_file_is_refused_and_a_replaced_file_keeps_its_attributes)
{
    test::TempDir dir;
    const std::string locked = dir.file("locked.bin");
    test::writeText(locked, "keep me");
    ASSERT_TRUE(::SetFileAttributesW(wide(locked).c_str(), FILE_ATTRIBUTE_READONLY));
    const FileStatus status = writeFileAtomically(locked, "lost");
    EXPECT_EQ(status.reason(), "The file is read-only.");
    ::SetFileAttributesW(wide(locked).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test::readText(locked), "keep me");

    const std::string hidden = dir.file("hidden.bin");
    test::writeText(hidden, "old");
    ASSERT_TRUE(::SetFileAttributesW(wide(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(writeFileAtomically(hidden, "new"));
    EXPECT_EQ(test::readText(hidden), "new");
    EXPECT_TRUE(::GetFileAttributesW(wide(hidden).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"hidden.bin", "locked.bin"}));
}

TEST(SafeSaveOnWindows, names_are_utf8_inside_and_utf16_on_the_disk_and_long_paths_save_whole)
{
    test::TempDir dir;
    const std::string name = "Kalibrierung \xc3\xbc \xe6\x97\xa5\xe6\x9c\xac.bin";  // "ü", "日本"
    const std::string path = dir.path().string() + "\\" + name;
    ASSERT_TRUE(writeFileAtomically(path, "bytes"));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(::GetFileAttributesExW((dir.path().wstring() + L"\\Kalibrierung \u00fc \u65e5\u672c.bin").c_str(),
                                       GetFileExInfoStandard, &data));
    const FileContent back = readWholeFile(path, 100);
    EXPECT_TRUE(back.complete());
    EXPECT_EQ(std::string(back.bytes.begin(), back.bytes.end()), "bytes");
    EXPECT_FALSE(fileMissing(path));
    // Bytes that are not UTF-8 name no file Windows can hold: nothing is made.
    EXPECT_EQ(writeFileAtomically(dir.path().string() + "\\cal\xff.bin", "x").reason(), "No such file or folder.");

    // Past the 260 characters of the old limit, through the \\?\ form.
    std::string deep = dir.path().string();
    for (int i = 0; i < 5; ++i) {
        deep += "\\" + std::string(60, static_cast<char>('a' + i));
        ASSERT_TRUE(::CreateDirectoryW((LR"(\\?\)" + wide(deep)).c_str(), nullptr));
    }
    const std::string longPath = deep + "/cal.tbl";
    ASSERT_GT(longPath.size(), 300u);
    ASSERT_TRUE(writeFileAtomically(longPath, "far"));
    ASSERT_TRUE(writeFileAtomically(longPath, "farther"));
    EXPECT_EQ(readWholeFile(longPath, 100).bytes.size(), 7u);
    EXPECT_TRUE(createFileAtomically(deep + "/new.log", "x"));
    EXPECT_TRUE(nameTaken(createFileAtomically(longPath, "x")));
}

TEST(SafeSaveOnWindows, a_file_with_several_hard_links_is_rewritten_in_place_so_every_link_sees_it)
{
    test::TempDir dir;
    test::writeText(dir.file("a.bin"), "the old, longer content");
    fs::create_hard_link(dir.path() / "a.bin", dir.path() / "b.bin");
    ASSERT_TRUE(writeFileAtomically(dir.file("a.bin"), "new"));
    EXPECT_EQ(test::readText(dir.file("a.bin")), "new");
    EXPECT_EQ(test::readText(dir.file("b.bin")), "new");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.bin", "b.bin"})) << "the copy is gone again";
}

TEST(SafeSaveOnWindows, a_temporary_file_of_a_program_that_is_gone_is_removed_by_the_next_save)
{
    test::TempDir dir;
    // Process ids are multiples of 4 below 2^32: this one never runs.
    test::writeText(dir.file(".tavo-4294967293-0badf00d.tmp"), "cut short");
    const std::string mine = ".tavo-" + std::to_string(::GetCurrentProcessId()) + "-0000beef.tmp";
    test::writeText(dir.file(mine), "still being written");
    ASSERT_TRUE(writeFileAtomically(dir.file("cal.bin"), "x"));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{mine, "cal.bin"}));
}

TEST(SafeSaveOnWindows, what_cannot_be_saved_or_read_says_why_as_on_linux)
{
    test::TempDir dir;
    EXPECT_EQ(writeFileAtomically(dir.path().string(), "x").reason(), "It is a directory.");
    EXPECT_EQ(writeFileAtomically(dir.file("none\\cal.bin"), "x").reason(), "No such file or folder.");
    EXPECT_EQ(writeFileAtomically("NUL", "x").reason(), "It is not a regular file (a pipe, device or socket).");
    EXPECT_EQ(readWholeFile("NUL", 10).status.problem(), FileStatus::Problem::NotRegularFile);
    EXPECT_EQ(readWholeFile(R"(\\.\pipe\tavo)", 10).status.problem(), FileStatus::Problem::NotRegularFile);
    EXPECT_EQ(readWholeFile(dir.path().string(), 10).status.reason(), "It is a directory.");
    EXPECT_TRUE(readWholeFile(dir.file("absent.tbl"), 10).status.missing());
    EXPECT_TRUE(fileMissing(dir.file("absent.tbl")));
    EXPECT_TRUE(fileMissing(dir.file("none\\absent.tbl")));
    EXPECT_FALSE(fileMissing(dir.path().string()));

    test::writeText(dir.file("limit.tbl"), std::string(100, 'a'));
    EXPECT_TRUE(readWholeFile(dir.file("limit.tbl"), 100).complete());
    const FileContent over = readWholeFile(dir.file("limit.tbl"), 99);
    EXPECT_EQ(over.status.problem(), FileStatus::Problem::TooLarge);
    EXPECT_TRUE(over.bytes.empty());
    const FileContent start = readFileStart(dir.file("limit.tbl"), 10);
    EXPECT_EQ(start.bytes.size(), 10u);
    EXPECT_EQ(start.size, 100u);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"limit.tbl"});
}

}  // namespace
}  // namespace tavo
