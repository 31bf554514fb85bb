#include <gtest/gtest.h>

#include <algorithm>

#include "link/EcmLink.h"
#include "link/LiveRam.h"
#include "support/ScriptedLine.h"

namespace tavo {
namespace {

using test::ScriptedLine;
using test::VirtualClock;
using namespace std::chrono_literals;

const std::string kDevice = "/dev/ttyUSB0";
constexpr std::uint8_t kWake[] = {0x40, 0x00, 0x01, 0x02, 0x03};

class EcmLinkTest : public ::testing::Test {
protected:
    VirtualClock clock;
    ScriptedLine line{clock};
    EcmLink link{line, clock};

    void connect(SerialSettings settings = {})
    {
        link.connectEcm(kDevice, settings);
    }
    void connectToAnsweringEcm()
    {
        line.ecm = test::answeringEcm();
        connect();
        ASSERT_TRUE(link.linkConnected());
        line.written.clear();
    }
};

TEST_F(EcmLinkTest, connects_on_the_first_probe_at_the_chosen_high_speed_and_keeps_the_port_open)
{
    line.ecm = test::answeringEcm();
    connect({1, 1, 3});
    EXPECT_TRUE(link.linkConnected());
    EXPECT_FALSE(link.linkSynced());
    ASSERT_EQ(line.written.size(), 1u);
    EXPECT_EQ(line.written[0].byte, 0x12);
    EXPECT_EQ(line.written[0].baud, 62500);
    EXPECT_TRUE(line.isOpen);
    EXPECT_EQ(line.closes, 0);
    EXPECT_EQ(clock.time, 100ms) << "one probe pause, and the reply was waiting";
}

TEST_F(EcmLinkTest, a_reply_of_several_bytes_with_0x12_among_them_connects)
{
    line.ecm = [](std::uint8_t, int) { return std::vector<std::uint8_t>{0x05, 0x33, 0x12, 0x7E}; };
    connect();
    EXPECT_TRUE(link.linkConnected());
    EXPECT_EQ(line.written.size(), 1u);
}

TEST_F(EcmLinkTest, an_ecm_waking_in_the_third_attempt_gets_the_five_bytes_just_before_its_probes)
{
    // Answers once it has heard two wake-ups: 0x12 at a lower rate than the probe before it.
    int wakeUps = 0;
    int lastProbeBaud = 0;
    line.ecm = [&](std::uint8_t byte, int baud) -> std::vector<std::uint8_t> {
        if (byte == 0x12) {
            wakeUps += lastProbeBaud > baud;
            lastProbeBaud = baud;
        }
        return wakeUps >= 2 && byte == 0x12 ? std::vector<std::uint8_t>{0x12} : std::vector<std::uint8_t>{};
    };
    connect({1, 2, 4});
    ASSERT_TRUE(link.linkConnected());

    const auto bytes = line.bytes();
    const auto at = std::search(bytes.begin(), bytes.end(), std::begin(kWake), std::end(kWake));
    ASSERT_NE(at, bytes.end());
    const auto index = static_cast<std::size_t>(at - bytes.begin());
    EXPECT_EQ(index, 3u + 2u + 3u + 2u) << "after two attempts of three probes and two wake-ups of two bytes";
    for (std::size_t i = index; i < index + 5; ++i)
        EXPECT_EQ(line.written[i].baud, 125000);
    ASSERT_EQ(line.written.size(), index + 6) << "the first probe of the third attempt answered";
    EXPECT_EQ(line.written[index + 5].byte, 0x12);
    EXPECT_EQ(line.written[index - 1].baud, 1200) << "the wake-up went out at the low speed";
    EXPECT_EQ(line.count(0x12, 125000), 7);
    EXPECT_EQ(line.count(0x12, 1200), 4);
}

TEST_F(EcmLinkTest, a_silent_ecm_fails_after_five_attempts_of_three_probes_and_four_wake_ups)
{
    connect();
    EXPECT_FALSE(link.linkConnected());
    EXPECT_EQ(line.count(0x12, 7812), 15);
    EXPECT_EQ(line.count(0x12, 976), 8);
    const auto bytes = line.bytes();
    EXPECT_EQ(std::search(bytes.begin(), bytes.end(), std::begin(kWake), std::end(kWake)) - bytes.begin(),
              3 + 2 + 3 + 2);
    EXPECT_EQ(line.written.size(), 15u + 8u + 5u);
    EXPECT_EQ(line.opened.size(), 1u + 4u * 2u);
    EXPECT_FALSE(line.isOpen);
    EXPECT_EQ(clock.time, 15 * (100ms + 50ms) + 4 * 900ms) << "probe pauses, reply waits and wake-up pauses";
}

TEST_F(EcmLinkTest, a_port_that_cannot_be_opened_fails_at_once)
{
    line.openFails = true;
    connect();
    EXPECT_FALSE(link.linkConnected());
    EXPECT_TRUE(line.written.empty());
    EXPECT_EQ(clock.time, 0ms);

    // A port number outside 1 to 4 names no device: nothing is opened.
    line.openFails = false;
    link.connectEcm(std::nullopt, {});
    EXPECT_FALSE(link.linkConnected());
    EXPECT_EQ(line.opened.size(), 1u);
}

TEST_F(EcmLinkTest, an_interrupt_ends_a_running_procedure_unconnected_within_a_pause_slice)
{
    LinkInterrupt interrupt;
    link.setInterrupt(&interrupt);
    std::chrono::microseconds raisedAt{};
    line.onWrite = [&](const ScriptedLine::Written&) {
        if (line.written.size() == 4) {  // the first wake-up byte
            interrupt.raise();
            raisedAt = clock.time;
        }
    };
    connect();
    EXPECT_FALSE(link.linkConnected());
    EXPECT_EQ(line.written.size(), 4u);
    EXPECT_FALSE(line.isOpen);
    EXPECT_LE(clock.time - raisedAt, 10ms);
}

TEST_F(EcmLinkTest, the_sync_check_passes_on_ff_and_12_and_otherwise_tries_five_times)
{
    connectToAnsweringEcm();
    link.checkSync();
    EXPECT_TRUE(link.linkSynced());
    EXPECT_EQ(line.bytes(), (std::vector<std::uint8_t>{0x00, 0x12}));

    line.written.clear();
    line.ecm = [](std::uint8_t byte, int) { return std::vector<std::uint8_t>{byte}; };  // 0x00 answers 0x00
    link.checkSync();
    EXPECT_FALSE(link.linkSynced());
    EXPECT_EQ(line.written.size(), 10u);

    // An ECM gone quiet is not in sync, though the mirror still holds 0xFF and 0x12.
    line.ecm = test::answeringEcm();
    link.checkSync();
    ASSERT_TRUE(link.linkSynced());
    line.ecm = nullptr;
    link.checkSync();
    EXPECT_EQ(link.ramMirror()[0x00], 0xFF);
    EXPECT_FALSE(link.linkSynced());
}

TEST_F(EcmLinkTest, a_sixteen_bit_read_at_ff_takes_its_low_byte_from_address_00)
{
    connectToAnsweringEcm();
    link.queryRam(0xFF);
    link.queryRam(0xFF + 1);
    EXPECT_EQ(line.bytes(), (std::vector<std::uint8_t>{0xFF, 0x00}));
    EXPECT_EQ(link.ramMirror()[0xFF], 0xFF);
    EXPECT_EQ(link.ramMirror()[0x00], 0xFF);
    EXPECT_EQ(link.queries(), 2u);
}

TEST_F(EcmLinkTest, no_reply_leaves_the_mirror_unchanged_after_one_bounded_wait)
{
    connectToAnsweringEcm();
    link.queryRam(0x40);
    ASSERT_EQ(link.ramMirror()[0x40], 0x40);
    line.ecm = nullptr;
    const auto before = clock.time;
    EXPECT_FALSE(link.queryRam(0x40));
    EXPECT_EQ(clock.time - before, 50ms);
    EXPECT_EQ(link.ramMirror()[0x40], 0x40);
    EXPECT_TRUE(link.linkConnected());
}

TEST_F(EcmLinkTest, a_port_failing_under_the_link_disconnects_it_at_once)
{
    connectToAnsweringEcm();
    link.checkSync();
    line.gone = true;
    link.queryRam(0x41);
    EXPECT_FALSE(link.linkConnected());
    EXPECT_FALSE(link.linkSynced());
    EXPECT_FALSE(line.isOpen);
    const auto before = clock.time;
    for (int i = 0; i < 100; ++i)
        link.queryRam(i);
    link.checkSync();
    EXPECT_EQ(clock.time, before) << "no further waits";
}

TEST_F(EcmLinkTest, disconnecting_closes_the_port_once_and_clears_both_flags)
{
    link.disconnectEcm();
    EXPECT_EQ(line.closes, 0) << "while disconnected there is nothing to close";
    EXPECT_FALSE(link.linkSynced());

    connectToAnsweringEcm();
    link.checkSync();
    link.disconnectEcm();
    link.disconnectEcm();
    EXPECT_EQ(line.closes, 1);
    EXPECT_FALSE(link.linkConnected());
    EXPECT_FALSE(link.linkSynced());
    link.queryRam(0x50);
    EXPECT_EQ(line.written.size(), 2u) << "queries while disconnected send nothing";
}

TEST_F(EcmLinkTest, speed_choices_outside_one_to_four_fall_back_to_976_and_7812_baud)
{
    EXPECT_EQ(baudForSpeed(0, 1), 976);
    EXPECT_EQ(baudForSpeed(0, 4), 9600);
    EXPECT_EQ(baudForSpeed(1, 3), 62500);
    EXPECT_EQ(baudForSpeed(1, 4), 125000);
    EXPECT_EQ(baudForSpeed(2, 4), 976);
    for (const int odd : {0, 5, -1, 1000}) {
        EXPECT_EQ(baudForSpeed(0, odd), 976);
        EXPECT_EQ(baudForSpeed(1, odd), 7812);
    }
    connect({2, 9, -3});
    EXPECT_EQ(line.count(0x12, 7812), 15);
    EXPECT_EQ(line.count(0x12, 976), 8);
}

TEST_F(EcmLinkTest, a_live_ram_tick_checks_sync_then_reads_sixteen_addresses_modulo_256)
{
    connectToAnsweringEcm();
    runLiveRamTick(link, 0xF8);
    const std::vector<std::uint8_t> expected = {0x00, 0x12, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE,
                                                0xFF, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
    EXPECT_EQ(line.bytes(), expected);
    EXPECT_TRUE(link.linkSynced());
}

}  // namespace
}  // namespace tavo
