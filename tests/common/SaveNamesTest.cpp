#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/SaveNames.h"

namespace tavo {
namespace {

TEST(SaveNames, aTemporaryNameTellsItsWriterBack)
{
    EXPECT_EQ(temporaryFileName(4242, 0xbadf00d), ".tavo-4242-0badf00d.tmp");
    EXPECT_EQ(temporaryFileWriter(temporaryFileName(4242, 0xbadf00d)), 4242u);
    EXPECT_EQ(temporaryFileWriter(temporaryFileName(4294967295u, 0xffffffffu)), 4294967295u);
}

TEST(SaveNames, onlyTheSavesOwnTemporaryNamesHaveAWriter)
{
    for (const char* name : {"calibration.bin", ".tavo-.tmp", ".tavo-12-0badf00d.tmp.bak", ".tavo-12-badf00d.tmp",
                             ".tavo-12-0BADF00D.tmp", ".tavo--0badf00d.tmp", ".tavo-x12-0badf00d.tmp",
                             ".tavo-4294967296-0badf00d.tmp", ".tavo-1a.new"})
        EXPECT_EQ(temporaryFileWriter(name), 0u) << name;
}

TEST(SaveNames, onlyAGoneProgramsTemporaryIsAbandoned)
{
    std::vector<std::uint32_t> asked;
    const auto gone = [&asked](std::uint32_t pid) {
        asked.push_back(pid);
        return pid == 7;
    };
    EXPECT_TRUE(abandonedTemporary(".tavo-7-00000001.tmp", 99, gone));
    EXPECT_FALSE(abandonedTemporary(".tavo-8-00000001.tmp", 99, gone));    // still running
    EXPECT_FALSE(abandonedTemporary(".tavo-99-00000001.tmp", 99, gone));   // this program's own
    EXPECT_FALSE(abandonedTemporary(".tavo-7a.new", 99, gone));            // a hard-linked file's copy
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{7, 8}));
    EXPECT_EQ(linkedCopyName(0x1a2b), ".tavo-1a2b.new");
}

}  // namespace
}  // namespace tavo
