#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/SimProcess.h"

namespace tavo {
namespace {

using RamCommand = test::CliRun;

TEST_F(RamCommand, reads_a_run_of_addresses_modulo_256_as_the_live_ram_display_shows_them)
{
    std::vector<std::uint8_t> page(256);
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>(255 - i);
    test::writeBytes(dir.file("ram.bin"), page);
    test::SimProcess sim({"--ram", dir.file("ram.bin")});

    ASSERT_EQ(run({"ram", "--device", sim.device(), "--base", "FC", "--count", "6", "--low-speed", "1",
                   "--high-speed", "4"}),
              0)
        << err;
    EXPECT_EQ(out, "03 02 01 00 FF FE SYNC\n") << "address 0x00 answers 0xFF";

    ASSERT_EQ(run({"ram", "--device", sim.device(), "--count", "2", "--json", "--low-speed", "1", "--high-speed",
                   "3"}),
              0);
    EXPECT_EQ(out.substr(0, out.find(",\"seconds\"")),
              R"({"connected":true,"synced":true,"base":64,"values":[191,190],"unanswered":0,"queries":6)");

    // An ECM that goes quiet: the addresses it did not answer are dashes
    // (null), never zeros or old values, and the command fails.
    test::SimProcess quiet({"--ram", dir.file("ram.bin"), "--mute-after", "5"});
    EXPECT_EQ(run({"ram", "--device", quiet.device(), "--count", "4", "--low-speed", "1", "--high-speed", "4"}), 1);
    EXPECT_EQ(out, "BF BE -- -- SYNC\n");
    EXPECT_EQ(err.substr(err.find('\n') + 1), "tavo-cli: 2 of 4 addresses did not answer\n");
    EXPECT_EQ(err.rfind("tavo-cli: reply times: median ", 0), 0u) << err;
}

TEST_F(RamCommand, says_what_failed_and_refuses_odd_speeds)
{
    EXPECT_EQ(run({"ram", "--device", dir.file("no-such-port")}), 1);
    EXPECT_EQ(err.substr(0, err.find('\n')), "There is no serial device " + dir.file("no-such-port") + ".");
    EXPECT_EQ(run({"ram", "--device", "/dev/null"}), 1);
    EXPECT_EQ(err.substr(0, err.find('\n')), "/dev/null is not a serial device.");
    EXPECT_EQ(run({"ram", "--device", "/dev/null", "--low-speed", "5", "--high-speed", "1"}), 2);
    EXPECT_EQ(run({"ram", "--base", "40"}), 2);
}

}  // namespace
}  // namespace tavo
