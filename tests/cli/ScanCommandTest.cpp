#include <gtest/gtest.h>

#include <sstream>

#include "SampleCalibration.h"
#include "cli/CliCommands.h"
#include "support/CliRun.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

using CliScan = test::CliRun;

TEST_F(CliScan, shows_the_tables_the_sample_code_references_but_does_not_define)
{
    ASSERT_EQ(run({"scan", sample(), "--json"}), 0) << err;
    EXPECT_EQ(out,
              "{\"added\":["
              "{\"index\":11,\"offset\":37376,\"type\":0,\"typeName\":\"Normal\",\"count\":7,\"name\":\"L9200\"},"
              "{\"index\":12,\"offset\":37440,\"type\":1,\"typeName\":\"FiveByte\",\"count\":5,\"name\":\"L9240\"},"
              "{\"index\":13,\"offset\":37504,\"type\":2,\"typeName\":\"Signed\",\"count\":5,\"name\":\"L9280\"}],"
              "\"entryCount\":14,\"stoppedAtCapacity\":false,\"written\":false}\n");

    ASSERT_EQ(run({"scan", sample()}), 0) << err;
    EXPECT_EQ(out,
              "11\t9200\tNormal\t7\tL9200\n"
              "12\t9240\tFiveByte\t5\tL9240\n"
              "13\t9280\tSigned\t5\tL9280\n"
              "entryCount: 14\n");
}

TEST_F(CliScan, without_write_the_definition_file_is_untouched)
{
    const std::string before = test::readText(dir.file("sample.tbl"));
    ASSERT_EQ(run({"scan", sample()}), 0) << err;
    EXPECT_EQ(test::readText(dir.file("sample.tbl")), before);
}

TEST_F(CliScan, write_stores_the_found_tables_so_a_second_scan_finds_none)
{
    ASSERT_EQ(run({"scan", sample(), "--write"}), 0) << err;
    EXPECT_NE(out.find("wrote 14 entries to " + dir.file("sample.tbl")), std::string::npos) << out;

    ASSERT_EQ(run({"tables", sample()}), 0) << err;
    EXPECT_NE(out.find("13\t9280\tSigned\tNAME\tL9280\n"), std::string::npos) << out;

    ASSERT_EQ(run({"scan", sample(), "--json"}), 0) << err;
    EXPECT_NE(out.find("{\"added\":[],\"entryCount\":14,"), std::string::npos) << out;
}

TEST_F(CliScan, needs_the_definition_file_beside_the_image)
{
    test::writeBytes(dir.file("bare.bin"), {0xCE, 0x00, 0x10});
    EXPECT_EQ(run({"scan", dir.file("bare.bin")}), 1);
    EXPECT_NE(err.find("bare.tbl"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("bare.tbl"))) << "no .tbl is created";
    EXPECT_EQ(run({"scan"}), 2);
}

}  // namespace
}  // namespace tavo
