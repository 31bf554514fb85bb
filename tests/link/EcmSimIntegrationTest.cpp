// The link against tavo-ecm-sim over a real pseudo-terminal. The pauses of
// the connection procedure are shortened; the line, its rates and the
// simulator are the real ones.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "link/EcmLink.h"
#include "link/PosixSerialLine.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

using namespace std::chrono_literals;

struct SimCounts {
    int heard = -1, replied = -1, ignored = -1;
};

// "tavo-ecm-sim: H requests heard, R replies sent, I requests ignored"
SimCounts countsOf(const std::string& line)
{
    SimCounts counts;
    std::sscanf(line.c_str(), "tavo-ecm-sim: %d requests heard, %d replies sent, %d requests ignored", &counts.heard,
                &counts.replied, &counts.ignored);
    return counts;
}

// A busy machine may deliver a reply after the next probe went out; the
// tests then allow the extra probe rather than fail.
class EcmSimIntegrationTest : public ::testing::Test {
protected:
    test::TempDir dir;
    PosixSerialLine line;
    SystemClock clock;
    // Short pauses; a reply wait long enough for a busy machine, or short
    // where the test waits out silent probes.
    std::unique_ptr<EcmLink> ecm = std::make_unique<EcmLink>(line, clock, LinkTimings{5ms, 5ms, 500ms});

    void waitBriefly()
    {
        ecm = std::make_unique<EcmLink>(line, clock, LinkTimings{5ms, 5ms, 20ms});
    }

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
        ecm->checkSync();
        EXPECT_TRUE(ecm->linkSynced());
        for (int address = 0x40; address < 0x50; ++address) {
            EXPECT_TRUE(ecm->queryRam(address));
            EXPECT_EQ(ecm->ramMirror()[static_cast<std::size_t>(address)], address ^ 0xA5);
        }
    }
};

TEST_F(EcmSimIntegrationTest, connects_and_reads_a_known_ram_page)
{
    test::SimProcess sim({"--ram", ramFile()});
    ASSERT_FALSE(sim.device().empty());
    ecm->connectEcm(sim.device(), {1, 1, 4});
    ASSERT_TRUE(ecm->linkConnected());
    expectPageRead();
    ecm->disconnectEcm();
    const SimCounts counts = countsOf(sim.finish());
    EXPECT_GE(counts.heard, 1 + 2 + 16);
    EXPECT_EQ(counts.replied, counts.heard);
    EXPECT_EQ(counts.ignored, 0);
}

TEST_F(EcmSimIntegrationTest, an_ecm_answering_from_the_third_attempt_heard_the_five_bytes_first)
{
    const std::string record = dir.file("record.txt");
    test::SimProcess sim({"--answer-from-attempt", "3", "--record", record});
    waitBriefly();
    ecm->connectEcm(sim.device(), {1, 1, 3});
    ASSERT_TRUE(ecm->linkConnected());
    ecm->disconnectEcm();
    sim.finish();

    // "<seconds> <baud> <hex byte>" per byte heard; the first sixteen are
    // two silent attempts with their wake-ups, the five bytes and the probe.
    std::ifstream in(record);
    std::vector<std::string> heard;
    double seconds;
    int baud;
    std::string hex;
    while (in >> seconds >> baud >> hex)
        heard.push_back(std::to_string(baud) + ":" + hex);
    ASSERT_GE(heard.size(), 16u);
    heard.resize(16);
    const std::string high = "62500:", low = "976:";
    EXPECT_EQ(heard, (std::vector<std::string>{high + "12", high + "12", high + "12", low + "12", low + "12",
                                               high + "12", high + "12", high + "12", low + "12", low + "12",
                                               high + "40", high + "00", high + "01", high + "02", high + "03",
                                               high + "12"}));
}

TEST_F(EcmSimIntegrationTest, an_ecm_on_7812_baud_is_reached_only_through_that_speed_choice)
{
    test::SimProcess sim({"--baud", "7812"});
    waitBriefly();
    ecm->connectEcm(sim.device(), {1, 1, 3});
    EXPECT_FALSE(ecm->linkConnected()) << "62500 baud is noise to it";
    ecm->connectEcm(sim.device(), {1, 1, 1});
    EXPECT_TRUE(ecm->linkConnected());
    ecm->disconnectEcm();
    const SimCounts counts = countsOf(sim.finish());
    // Every byte of the first procedure goes unheard, but the simulator reads
    // the line's rate when it takes a byte, and on a busy machine the last
    // one or two may be taken after the client has already set the next rate.
    EXPECT_GE(counts.ignored, 15 + 8 + 5 - 2) << "every byte of the first procedure";
    EXPECT_LE(counts.ignored, 15 + 8 + 5);
    EXPECT_GE(counts.replied, 1);
    EXPECT_EQ(counts.heard, counts.ignored + counts.replied);
}

TEST_F(EcmSimIntegrationTest, noise_bytes_with_each_reply_are_dropped_and_counted_as_stray)
{
    test::SimProcess sim({"--ram", ramFile(), "--extra-bytes"});
    ecm->connectEcm(sim.device(), {1, 1, 4});
    ASSERT_TRUE(ecm->linkConnected());
    expectPageRead();
    EXPECT_GE(ecm->strayBytes(), 16u) << "so no client stores these answers";
}

TEST_F(EcmSimIntegrationTest, a_simulator_killed_in_mid_query_disconnects_the_link_without_hanging)
{
    test::SimProcess sim({"--line-timed", "--turnaround-us", "2000"});
    ecm->connectEcm(sim.device(), {1, 1, 1});
    ASSERT_TRUE(ecm->linkConnected());
    std::atomic<int> queries{0};
    std::thread client([&] {
        while (ecm->linkConnected()) {
            ecm->queryRam(0x40 + queries % 16);
            ++queries;
        }
    });
    while (queries < 3)
        std::this_thread::sleep_for(1ms);
    const auto killed = std::chrono::steady_clock::now();
    sim.kill();
    client.join();
    EXPECT_LT(std::chrono::steady_clock::now() - killed, 1s) << "no hang, no wait after wait";
    EXPECT_FALSE(ecm->linkConnected());
    EXPECT_FALSE(ecm->linkSynced());
}

TEST_F(EcmSimIntegrationTest, a_client_killed_while_holding_the_port_leaves_it_free_for_the_next)
{
    test::SimProcess sim({});
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        PosixSerialLine held;
        if (!held.open(sim.device()))
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    auto exclusive = [&] {
        const int fd = ::open(sim.device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        int flag = -1;
        ::ioctl(fd, TIOCGEXCL, &flag);
        ::close(fd);
        return flag;
    };
    // The holder has the port to itself, then dies without closing it.
    for (int waited = 0; exclusive() != 1 && waited < 2000; waited += 10)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(exclusive(), 1);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    for (int waited = 0; exclusive() != 0 && waited < 2000; waited += 20)
        std::this_thread::sleep_for(20ms);
    EXPECT_EQ(exclusive(), 0) << "the simulator let go of the dead client's hold";
    EXPECT_TRUE(line.open(sim.device()));
}

TEST(EcmSimProgram, refuses_a_folder_pipe_or_device_at_once_and_says_why)
{
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const std::string sim = TAVO_ECM_SIM_PATH;
    for (const std::string& args : {"--ram " + dir.path().string(), "--ram " + dir.file("pipe"), std::string("--ram /dev/zero"),
                                    "--frames " + dir.file("pipe"), "--record " + dir.file("pipe")}) {
        const int status = std::system(("timeout 5 " + sim + " " + args + " < /dev/null 2> " +
                                        dir.file("err.txt")).c_str());
        ASSERT_TRUE(WIFEXITED(status)) << args;
        EXPECT_EQ(WEXITSTATUS(status), 1) << args << ": " << test::readText(dir.file("err.txt"));
        EXPECT_EQ(test::readText(dir.file("err.txt")).rfind("tavo-ecm-sim: ", 0), 0u) << args;
    }
}

}  // namespace
}  // namespace tavo
