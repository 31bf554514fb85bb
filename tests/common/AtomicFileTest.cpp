// The one save and read path: links, permissions, odd file types and the
// reasons a user is told.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "common/AtomicFile.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

struct stat statOf(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

TEST(SafeSave, saving_through_a_symbolic_link_replaces_the_file_it_names_and_keeps_the_link)
{
    test::TempDir dir;
    fs::create_directory(dir.path() / "real");
    test::writeText(dir.file("real/cal.tbl"), "old");
    fs::create_symlink("real/cal.tbl", dir.path() / "hop");  // relative, through a second link
    fs::create_symlink("hop", dir.path() / "cal.tbl");
    ASSERT_TRUE(writeFileAtomically(dir.file("cal.tbl"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "cal.tbl"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "hop"));
    EXPECT_EQ(test::readText(dir.file("real/cal.tbl")), "new");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"cal.tbl", "hop", "real"}));

    // A link to a file not there yet creates that file.
    fs::create_symlink("real/fresh.bin", dir.path() / "fresh.bin");
    ASSERT_TRUE(writeFileAtomically(dir.file("fresh.bin"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "fresh.bin"));
    EXPECT_EQ(test::readText(dir.file("real/fresh.bin")), "made");
}

TEST(SafeSave, a_file_with_several_hard_links_keeps_its_inode_so_every_link_sees_the_new_content)
{
    test::TempDir dir;
    test::writeText(dir.file("a.bin"), "the old, longer content");
    fs::create_hard_link(dir.path() / "a.bin", dir.path() / "b.bin");
    const ino_t inode = statOf(dir.file("a.bin")).st_ino;
    ASSERT_TRUE(writeFileAtomically(dir.file("a.bin"), "new"));
    EXPECT_EQ(statOf(dir.file("a.bin")).st_ino, inode);
    EXPECT_EQ(test::readText(dir.file("b.bin")), "new");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.bin", "b.bin"})) << "the copy is gone again";
}

TEST(SafeSave, a_saved_file_keeps_its_permission_bits_and_owner)
{
    test::TempDir dir;
    const std::string path = dir.file("cal.bin");
    test::writeText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    // Only root may give a file away; others keep their own group.
    const uid_t owner = test::runningAsRoot() ? 4321 : ::geteuid();
    const gid_t group = test::runningAsRoot() ? 8765 : ::getegid();
    ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    const struct stat st = statOf(path);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(test::readText(path), "new");
}

TEST(SafeSave, a_read_only_file_is_refused_and_left_as_it_was)
{
    test::TempDir dir;
    const std::string path = dir.file("cal.tbl");
    test::writeText(path, "keep me");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const FileStatus status = writeFileAtomically(path, "lost");
    EXPECT_FALSE(status);
    EXPECT_EQ(status.reason(), "The file is read-only.");
    EXPECT_EQ(test::readText(path), "keep me");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"cal.tbl"});
}

TEST(SafeSave, a_255_byte_name_saves_and_what_cannot_be_saved_says_why)
{
    test::TempDir dir;
    const std::string longest = std::string(251, 'n') + ".tbl";
    ASSERT_TRUE(writeFileAtomically(dir.file(longest), "fits")) << "the temporary name is short";
    EXPECT_EQ(test::readText(dir.file(longest)), "fits");

    EXPECT_EQ(writeFileAtomically(dir.file(longest + "x"), "x").reason(), "The name is too long.");
    EXPECT_EQ(writeFileAtomically(dir.path().string(), "x").reason(), "It is a directory.");
    EXPECT_EQ(writeFileAtomically(dir.file("none/cal.bin"), "x").reason(), "No such file or folder.");
    EXPECT_EQ(writeFileAtomically("/dev/null", "x").reason(),
              "It is not a regular file (a pipe, device or socket).");
    EXPECT_EQ(FileStatus::fromErrno(ENOSPC).reason(), "No space left on the device.");
    EXPECT_EQ(FileStatus::fromErrno(EACCES).reason(), "Permission denied.");
    EXPECT_EQ(FileStatus::fromErrno(EROFS).reason(), "The file system is read-only.");
    EXPECT_EQ(dir.names(), std::vector<std::string>{longest});
}

TEST(SafeSave, a_save_that_fails_half_way_leaves_the_old_file_and_no_temporary_file)
{
    test::TempDir dir;
    const std::string path = dir.file("cal.bin");
    test::writeText(path, "old");
    // The file size limit makes the write fail after the temporary exists.
    struct rlimit before {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileStatus status = writeFileAtomically(path, std::string(10000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.reason(), "The file is too large for the file system.");
    EXPECT_EQ(test::readText(path), "old");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"cal.bin"});
}

TEST(SafeSave, a_file_or_folder_the_user_may_not_write_is_refused)
{
    if (test::runningAsRoot())
        GTEST_SKIP() << "root may write every file and folder";
    test::TempDir dir;
    // Group may write, the owner may not: renaming over it would still work.
    test::writeText(dir.file("theirs.bin"), "keep me");
    ASSERT_EQ(::chmod(dir.file("theirs.bin").c_str(), 0460), 0);
    EXPECT_EQ(writeFileAtomically(dir.file("theirs.bin"), "lost").reason(), "Permission denied.");
    EXPECT_EQ(test::readText(dir.file("theirs.bin")), "keep me");

    fs::create_directory(dir.path() / "locked");
    ASSERT_EQ(::chmod(dir.file("locked").c_str(), 0555), 0);
    EXPECT_EQ(writeFileAtomically(dir.file("locked/new.bin"), "x").reason(), "Permission denied.");
    ::chmod(dir.file("locked").c_str(), 0755);
}

TEST(SafeRead, only_a_name_that_does_not_exist_is_missing_and_pipes_are_never_opened)
{
    test::TempDir dir;
    const std::string fifo = dir.file("cal.tbl");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // Opening a pipe without a writer would block: the test would hang.
    const FileContent pipe = readWholeFile(fifo, 1000);
    EXPECT_FALSE(pipe.status.missing());
    EXPECT_EQ(pipe.status.problem(), FileStatus::Problem::NotRegularFile);
    EXPECT_EQ(readWholeFile("/dev/zero", 1000).status.problem(), FileStatus::Problem::NotRegularFile);
    EXPECT_EQ(readWholeFile(dir.path().string(), 1000).status.reason(), "It is a directory.");
    EXPECT_TRUE(readWholeFile(dir.file("absent.tbl"), 1000).status.missing());
    EXPECT_FALSE(fileMissing(fifo));
    EXPECT_TRUE(fileMissing(dir.file("absent.tbl")));

    if (!test::runningAsRoot()) {
        test::writeText(dir.file("secret.tbl"), "x");
        ASSERT_EQ(::chmod(dir.file("secret.tbl").c_str(), 0), 0);
        EXPECT_EQ(readWholeFile(dir.file("secret.tbl"), 1000).status.reason(), "Permission denied.");
    }
}

TEST(SafeRead, a_file_over_the_limit_is_refused_whole_and_one_at_the_limit_is_read_whole)
{
    test::TempDir dir;
    test::writeText(dir.file("limit.tbl"), std::string(100, 'a'));
    const FileContent atLimit = readWholeFile(dir.file("limit.tbl"), 100);
    EXPECT_TRUE(atLimit.complete());
    EXPECT_EQ(atLimit.bytes.size(), 100u);
    const FileContent over = readWholeFile(dir.file("limit.tbl"), 99);
    EXPECT_EQ(over.status.problem(), FileStatus::Problem::TooLarge);
    EXPECT_TRUE(over.bytes.empty());
    EXPECT_EQ(FileStatus::tooLarge(64 * 1024 * 1024).reason(), "The file is larger than 64 MiB.");
    const FileContent start = readFileStart(dir.file("limit.tbl"), 10);
    EXPECT_EQ(start.bytes.size(), 10u);
    EXPECT_EQ(start.size, 100u);
    EXPECT_FALSE(start.complete());
}

}  // namespace
}  // namespace tavo
