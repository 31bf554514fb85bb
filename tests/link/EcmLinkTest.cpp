#include <gtest/gtest.h>

#include <algorithm>

#include "link/EcmLink.h"
#include "link/LinkFailure.h"
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

    // A new connection proves nothing in step until its own check passes.
    line.ecm = test::answeringEcm();
    link.checkSync();
    ASSERT_TRUE(link.linkSynced());
    connect();
    EXPECT_TRUE(link.linkConnected());
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

TEST_F(EcmLinkTest, no_reply_leaves_the_mirror_unchanged_and_the_line_falls_quiet_before_the_next_request)
{
    connectToAnsweringEcm();
    link.queryRam(0x40);
    ASSERT_EQ(link.ramMirror()[0x40], 0x40);
    line.ecm = nullptr;
    const auto before = clock.time;
    EXPECT_FALSE(link.queryRam(0x40));
    EXPECT_EQ(clock.time - before, 100ms) << "one reply wait, then one quiet wait";
    EXPECT_EQ(link.ramMirror()[0x40], 0x40);
    EXPECT_TRUE(link.linkConnected());
    const std::size_t sent = line.written.size();
    EXPECT_EQ(link.checkSync(), SyncResult::NoReply);
    EXPECT_EQ(line.written.size(), sent + 1) << "a silent ECM is asked once, not five times";
}

TEST_F(EcmLinkTest, a_late_reply_or_a_second_copy_is_never_taken_for_the_next_requests_answer)
{
    connectToAnsweringEcm();
    // 0x41 is answered 80 ms late, past the reply wait; every other request
    // after the 370 us a line at 62500 baud takes.
    line.ecm = nullptr;
    line.timedEcm = [](std::uint8_t address, int) {
        return std::vector<ScriptedLine::Timed>{{address, address == 0x41 ? 80ms : 370us}};
    };
    EXPECT_EQ(link.queryRam(0x41), std::nullopt);
    EXPECT_EQ(link.queryRam(0x42), 0x42) << "the late 0x41 came while the line fell quiet";
    EXPECT_EQ(link.strayBytes(), 1u);

    // A reply sent twice, on a fresh connection at full speed: the copy
    // turns up before the next request's own reply and is read as it, and
    // each later reply answers the request before its own, until the sync
    // check finds the line out of step and lets it fall quiet.
    line.timedEcm = nullptr;
    connectToAnsweringEcm();
    for (int i = 0; i < ReplyGuard::kFirstStretch; ++i)
        link.queryRam(0x40);
    ASSERT_FALSE(link.guard().careful()) << "past the careful start of a connection";
    line.ecm = nullptr;
    line.timedEcm = [](std::uint8_t address, int) {
        return std::vector<ScriptedLine::Timed>{{address, 370us}, {address, 690us}};
    };
    EXPECT_EQ(link.queryRam(0x50), 0x50);
    line.timedEcm = [](std::uint8_t address, int) {
        return std::vector<ScriptedLine::Timed>{{address == 0x00 ? std::uint8_t{0xFF} : address, 370us}};
    };
    EXPECT_EQ(link.queryRam(0x51), 0x50);
    EXPECT_EQ(link.queryRam(0x52), 0x51);
    EXPECT_EQ(link.checkSync(), SyncResult::Resynced);
    EXPECT_GT(link.strayBytes(), 1u) << "the reply on its way turned up while the line fell quiet";
    EXPECT_EQ(link.queryRam(0x53), 0x53);
}

TEST_F(EcmLinkTest, failures_say_what_failed_with_the_systems_reason)
{
    auto failureText = [&] { return linkFailureText(link.state().failure, kDevice, 1); };
    line.openFails = true;
    line.openProblem = PortProblem::PermissionDenied;
    connect();
    EXPECT_EQ(failureText(),
              "Permission denied opening /dev/ttyUSB0.\nAdd yourself to the dialout group (sudo usermod -aG "
              "dialout $USER), then log out and in again.");
    line.openProblem = PortProblem::Busy;
    connect();
    EXPECT_EQ(failureText().substr(0, failureText().find('\n')), "/dev/ttyUSB0 is in use by another program.");
    line.openProblem = PortProblem::NotSerial;
    connect();
    EXPECT_EQ(failureText().substr(0, failureText().find('\n')), "/dev/ttyUSB0 is not a serial device.");
    line.openProblem = PortProblem::NoSuchDevice;
    connect();
    EXPECT_EQ(failureText().substr(0, failureText().find('\n')), "There is no serial device /dev/ttyUSB0.");

    // The adapter sets another rate than asked: no probing at the old one.
    line.openFails = false;
    line.reportedRate = 38400;
    connect({1, 1, 3});
    EXPECT_FALSE(link.linkConnected());
    EXPECT_TRUE(line.written.empty());
    EXPECT_FALSE(line.isOpen);
    EXPECT_EQ(failureText().substr(0, failureText().find('\n')),
              "The serial adapter on /dev/ttyUSB0 refused 62500 baud (it set 38400 baud).");

    line.reportedRate.reset();
    connect();
    EXPECT_EQ(failureText().substr(0, failureText().find('\n')), "No response from the ECM on /dev/ttyUSB0.");
    const std::string noPort = linkFailureText(LinkFailure::of(LinkProblem::NoPort), std::nullopt, 7);
    EXPECT_EQ(noPort.substr(0, noPort.find('\n')), "There is no serial port Com7.");
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
    LiveRamHeld held;
    const LiveRamReading first = runLiveRamTick(link, 0xF8, held);
    const std::vector<std::uint8_t> expected = {0x00, 0x12, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE,
                                                0xFF, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
    EXPECT_EQ(line.bytes(), expected);
    EXPECT_TRUE(first.synced);
    EXPECT_EQ(first.values[1], std::nullopt) << "shown once the next sync check confirms it";
    const LiveRamReading reading = runLiveRamTick(link, 0xF8, held);
    EXPECT_EQ(reading.values[1], 0xF9);
    EXPECT_EQ(reading.values[8], 0xFF) << "address 0x00 answers 0xFF";

    // An address that does not answer shows dashes, never its old value.
    line.ecm = [inner = line.ecm](std::uint8_t byte, int baud) {
        return byte == 0xFA ? std::vector<std::uint8_t>{} : inner(byte, baud);
    };
    runLiveRamTick(link, 0xF8, held);
    const LiveRamReading gap = runLiveRamTick(link, 0xF8, held);
    EXPECT_EQ(gap.values[2], std::nullopt);
    EXPECT_EQ(liveRamValueText(gap.values[2]), "--");
    EXPECT_EQ(gap.values[3], 0xFB);
}

}  // namespace
}  // namespace tavo
