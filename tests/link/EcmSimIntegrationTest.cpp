// The link against tavo-ecm-sim over a real pseudo-terminal. The pauses of
// the connection procedure are shortened; the line, its rates and the
// simulator are the real ones.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "link/EcmLink.h"
#include "link/PosixSerialLine.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

using namespace std::chrono_literals;

class EcmSimIntegrationTest : public ::testing::Test {
protected:
    test::TempDir dir;
    PosixSerialLine line;
    SystemClock clock;
    EcmLink link{line, clock, LinkTimings{5ms, 5ms, 20ms}};

    std::string ramFile()
    {
        std::vector<std::uint8_t> page(256);
        for (std::size_t i = 0; i < page.size(); ++i)
            page[i] = static_cast<std::uint8_t>(i ^ 0xA5);
        const std::string path = dir.file("ram.bin");
        test::writeBytes(path, page);
        return path;
    }
    void expectPageRead()
    {
        link.checkSync();
        EXPECT_TRUE(link.linkSynced());
        for (int address = 0x40; address < 0x50; ++address) {
            EXPECT_TRUE(link.queryRam(address));
            EXPECT_EQ(link.ramMirror()[static_cast<std::size_t>(address)], address ^ 0xA5);
        }
    }
};

TEST_F(EcmSimIntegrationTest, connects_and_reads_a_known_ram_page)
{
    test::SimProcess sim({"--ram", ramFile()});
    ASSERT_FALSE(sim.device().empty());
    link.connectEcm(sim.device(), {1, 1, 4});
    ASSERT_TRUE(link.linkConnected());
    expectPageRead();
    link.disconnectEcm();
    EXPECT_EQ(sim.finish(), "tavo-ecm-sim: 19 requests heard, 19 replies sent, 0 requests ignored");
}

TEST_F(EcmSimIntegrationTest, an_ecm_answering_from_the_third_attempt_heard_the_five_bytes_first)
{
    const std::string record = dir.file("record.txt");
    test::SimProcess sim({"--answer-from-attempt", "3", "--record", record});
    link.connectEcm(sim.device(), {1, 1, 3});
    ASSERT_TRUE(link.linkConnected());
    link.disconnectEcm();
    sim.finish();

    // "<seconds> <baud> <hex byte>" per byte heard.
    std::ifstream in(record);
    std::string rates, bytes;
    double seconds;
    int baud;
    std::string hex;
    while (in >> seconds >> baud >> hex) {
        rates += std::to_string(baud) + " ";
        bytes += hex + " ";
    }
    EXPECT_EQ(bytes, "12 12 12 12 12 12 12 12 12 12 40 00 01 02 03 12 ");
    EXPECT_EQ(rates, "62500 62500 62500 976 976 62500 62500 62500 976 976 "
                     "62500 62500 62500 62500 62500 62500 ");
}

TEST_F(EcmSimIntegrationTest, an_ecm_on_7812_baud_is_reached_only_through_that_speed_choice)
{
    test::SimProcess sim({"--baud", "7812"});
    link.connectEcm(sim.device(), {1, 1, 3});
    EXPECT_FALSE(link.linkConnected()) << "62500 baud is noise to it";
    link.connectEcm(sim.device(), {1, 1, 1});
    EXPECT_TRUE(link.linkConnected());
    link.disconnectEcm();
    EXPECT_EQ(sim.finish(), "tavo-ecm-sim: 29 requests heard, 1 replies sent, 28 requests ignored");
}

TEST_F(EcmSimIntegrationTest, noise_bytes_after_each_reply_do_not_disturb_the_values)
{
    test::SimProcess sim({"--ram", ramFile(), "--extra-bytes"});
    link.connectEcm(sim.device(), {1, 1, 4});
    ASSERT_TRUE(link.linkConnected());
    expectPageRead();
}

TEST_F(EcmSimIntegrationTest, a_simulator_killed_in_mid_query_disconnects_the_link_without_hanging)
{
    test::SimProcess sim({"--line-timed", "--turnaround-us", "2000"});
    link.connectEcm(sim.device(), {1, 1, 1});
    ASSERT_TRUE(link.linkConnected());
    std::atomic<int> queries{0};
    std::thread client([&] {
        while (link.linkConnected()) {
            link.queryRam(0x40 + queries % 16);
            ++queries;
        }
    });
    while (queries < 3)
        std::this_thread::sleep_for(1ms);
    const auto killed = std::chrono::steady_clock::now();
    sim.kill();
    client.join();
    EXPECT_LT(std::chrono::steady_clock::now() - killed, 200ms);
    EXPECT_FALSE(link.linkConnected());
    EXPECT_FALSE(link.linkSynced());
}

}  // namespace
}  // namespace tavo
