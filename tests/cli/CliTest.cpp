#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "SampleCalibration.h"
#include "cli/CliCommands.h"
#include "common/Version.h"
#include "rom/RomMessages.h"
#include "support/CliRun.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

using TavoCli = test::CliRun;

// Text as the JSON writer writes it: a backslash (a Windows path's) escaped.
std::string jsonText(const std::string& text)
{
    std::string escaped;
    for (const char c : text)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

TEST_F(TavoCli, info_prints_the_rom_information_of_the_sample)
{
    ASSERT_EQ(run({"info", sample(), "--json"}), 0) << err;
    EXPECT_NE(out.find("\"loadOffset\":32768"), std::string::npos) << out;
    EXPECT_NE(out.find("\"imageSize\":32768"), std::string::npos);
    EXPECT_NE(out.find("\"entryCount\":11"), std::string::npos);
    EXPECT_NE(out.find("\"tblPath\":\"" + jsonText(dir.file("sample.tbl")) + "\""), std::string::npos);
    ASSERT_EQ(run({"info", sample()}), 0);
    EXPECT_NE(out.find("loadOffset:  8000"), std::string::npos) << out;
}

TEST_F(TavoCli, tables_lists_every_entry_in_array_order_with_its_kind)
{
    ASSERT_EQ(run({"tables", sample(), "--json"}), 0) << err;
    EXPECT_EQ(out.find("\"chryslerName\":\"WOTTBL\""), out.find("\"chryslerName\":"));
    EXPECT_NE(out.find("\"typeName\":\"FiveByte\""), std::string::npos);
    EXPECT_NE(out.find("\"bitNames\":[\"Knock Sensor\""), std::string::npos);
    EXPECT_NE(out.find("\"valueNames\":[\"Manual\",\"Automatic\""), std::string::npos);
    EXPECT_NE(out.find("\"values\":[0,1,2,"), std::string::npos);
    EXPECT_NE(out.find("\"description\":\"Fuel delivered at wide open throttle.\\nRaise"),
              std::string::npos);
}

TEST_F(TavoCli, show_decodes_rows_constants_bits_and_choices)
{
    ASSERT_EQ(run({"show", sample(), "wottbl", "--json"}), 0) << err;
    EXPECT_NE(out.find("\"rows\":[{\"x\":16,\"y\":96,\"slopeRaw\":128,\"slope\":0.5}"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("{\"x\":224,\"y\":186,\"slopeRaw\":0,\"slope\":null}]"), std::string::npos);

    ASSERT_EQ(run({"show", sample(), "KNKRET", "--json"}), 0);
    EXPECT_NE(out.find("\"y\":-12"), std::string::npos) << "signed tables show signed y";

    ASSERT_EQ(run({"show", sample(), "INJPW", "--json"}), 0);
    EXPECT_NE(out.find("{\"x\":224,\"y\":7100"), std::string::npos) << out;

    ASSERT_EQ(run({"show", sample(), "IDLSPD", "--json"}), 0);
    EXPECT_NE(out.find("\"value\":850"), std::string::npos);

    ASSERT_EQ(run({"show", sample(), "OPTFLG", "--json"}), 0);
    EXPECT_NE(out.find("\"bitsSet\":[\"Knock Sensor\",\"A/C Cutout\",\"Wastegate Solenoid\",\"Speed Control\"]"),
              std::string::npos)
        << out;

    ASSERT_EQ(run({"show", sample(), "Transmission Type"}), 0);
    EXPECT_NE(out.find("chosen: Automatic"), std::string::npos) << out;
}

TEST_F(TavoCli, save_tables_writes_the_definitions_back_unchanged)
{
    const std::string before = test::readText(dir.file("sample.tbl"));
    ASSERT_EQ(run({"save-tables", sample()}), 0) << err;
    EXPECT_EQ(test::readText(dir.file("sample.tbl")), before);
    ASSERT_EQ(run({"save-tables", sample(), "--to", dir.file("copy.tbl")}), 0);
    EXPECT_EQ(test::readText(dir.file("copy.tbl")), before);
}

TEST_F(TavoCli, help_gives_each_command_one_line_and_version_prints_the_project_version)
{
    ASSERT_EQ(run({"--help"}), 0);
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "usage: tavo-cli COMMAND ...");
    std::set<std::string> listed;
    while (std::getline(lines, line)) {
        // "  SYNTAX  description": no line continues the one before.
        EXPECT_EQ(line.rfind("  ", 0), 0u) << line;
        EXPECT_NE(line[2], ' ') << line;
        EXPECT_NE(line.find_first_not_of(' ', line.find("  ", 2)), std::string::npos) << line;
        listed.insert(line.substr(2, line.find(' ', 2) - 2));
    }
    for (const char* command : {"info", "tables", "show", "save-tables", "graph", "scale", "scan", "ram", "log", "log2csv", "log-graph",
                                "--help", "--version"})
        EXPECT_TRUE(listed.count(command)) << command;

    ASSERT_EQ(run({"--version"}), 0);
    EXPECT_EQ(out, std::string("tavo-cli ") + kVersion + "\n");
}

TEST_F(TavoCli, failures_exit_1_with_the_systems_message_and_usage_errors_exit_2)
{
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"frobnicate", sample()}), 2);
    EXPECT_EQ(run({"show", sample()}), 2);
    EXPECT_EQ(run({"info", sample(), "--bogus"}), 2);

    EXPECT_EQ(run({"info", dir.file("nothing.bin")}), 1);
    EXPECT_EQ(run({"show", sample(), "NOSUCH"}), 1);

    test::writeBytes(dir.file("loose.bin"), {1, 2, 3});
    EXPECT_EQ(run({"info", dir.file("loose.bin")}), 1);
    EXPECT_NE(err.find("loose.tbl"), std::string::npos) << "a missing .tbl is named";
    EXPECT_FALSE(std::filesystem::exists(dir.file("loose.tbl"))) << "and not created";

    test::writeBytes(dir.file("huge.bin"), std::vector<std::uint8_t>(70000, 0));
    test::writeText(dir.file("huge.tbl"), "0\nd\na\n");
    EXPECT_EQ(run({"info", dir.file("huge.bin")}), 1);
    EXPECT_NE(err.find(kRomTooLarge), std::string::npos) << err;
}

TEST_F(TavoCli, each_message_is_printed_once)
{
    std::filesystem::copy_file(sample(), dir.file("many.bin"));
    std::string tbl = "8000\nd\na\n";
    for (int i = 0; i < 520; ++i)
        tbl += "9000 3 n Item X Y\n";
    test::writeText(dir.file("many.tbl"), tbl);
    std::ostringstream elsewhere;  // anything written past the error stream
    std::streambuf* const previous = std::cerr.rdbuf(elsewhere.rdbuf());
    const int code = run({"info", dir.file("many.bin")});
    std::cerr.rdbuf(previous);
    EXPECT_EQ(code, 0);
    const std::string all = err + elsewhere.str();
    const std::size_t first = all.find("more than 514 entries");
    ASSERT_NE(first, std::string::npos) << all;
    EXPECT_EQ(all.find("more than 514 entries", first + 1), std::string::npos) << all;
}

#ifndef _WIN32  // a FIFO is POSIX
TEST_F(TavoCli, a_definition_file_that_cannot_be_read_fails_the_command_and_is_left_alone)
{
    std::filesystem::copy_file(sample(), dir.file("pipe.bin"));
    ASSERT_EQ(::mkfifo(dir.file("pipe.tbl").c_str(), 0644), 0);
    std::filesystem::copy_file(sample(), dir.file("folder.bin"));
    std::filesystem::create_directory(dir.file("folder.tbl"));
    EXPECT_EQ(run({"info", dir.file("pipe.bin")}), 1);
    EXPECT_NE(err.find("Unable to read the table definition file:\n" + dir.file("pipe.tbl") +
                       "\nIt is not a regular file"),
              std::string::npos)
        << err;
    EXPECT_EQ(run({"save-tables", dir.file("folder.bin")}), 1);
    EXPECT_NE(err.find("It is a directory."), std::string::npos) << err;
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("pipe.tbl")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.tbl")));
}
#endif

TEST_F(TavoCli, text_output_shows_control_characters_from_the_file_instead_of_sending_them)
{
    std::filesystem::copy_file(sample(), dir.file("crafted.bin"));
    test::writeText(dir.file("crafted.tbl"),
                    "8000\n\x1b]0;owned\x07\nA\x7f\xc2\x9b"
                    "2J\n9000 3 n Na\x1b[31mme X 0 1 u Y 0 1 u EVIL d\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", dir.file("crafted.bin")}, {"tables", dir.file("crafted.bin")},
          {"show", dir.file("crafted.bin"), "EVIL"}}) {
        ASSERT_EQ(run(args), 0) << err;
        for (const char* control : {"\x1b", "\x07", "\x7f", "\xc2\x9b"})
            EXPECT_EQ(out.find(control), std::string::npos) << args[0] << ": " << out;
        const bool namesShown = args[0] != "info";
        EXPECT_EQ(out.find("Na^[[31mme") != std::string::npos, namesShown) << args[0] << ": " << out;
    }
    ASSERT_EQ(run({"info", dir.file("crafted.bin")}), 0);
    EXPECT_NE(out.find("description: ^[]0;owned^G\n"), std::string::npos) << out;
    EXPECT_NE(out.find("author:      A^??2J\n"), std::string::npos) << out;
}

TEST_F(TavoCli, a_flag_given_a_value_takes_it_as_true_or_false_and_refuses_any_other)
{
    for (const char* on : {"--json", "--json=true", "--json=1"}) {
        ASSERT_EQ(run({"info", sample(), on}), 0) << on << ": " << err;
        EXPECT_EQ(out.rfind("{", 0), 0u) << on << ": " << out;
    }
    for (const char* off : {"--json=false", "--json=0"}) {
        ASSERT_EQ(run({"info", sample(), off}), 0) << off << ": " << err;
        EXPECT_NE(out.rfind("{", 0), 0u) << off << ": " << out;
        EXPECT_NE(out.find("description:"), std::string::npos) << off << ": the text form";
    }
    EXPECT_EQ(run({"info", sample(), "--json=maybe"}), 2);
}

}  // namespace
}  // namespace tavo
