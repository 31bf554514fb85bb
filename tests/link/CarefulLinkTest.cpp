// The link after an anomaly: a stray byte must not stand in unseen for a
// reply that never came, and a clean line keeps its full speed.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "link/EcmLink.h"
#include "support/ScriptedLine.h"

namespace tavo {
namespace {

using test::ScriptedLine;
using test::VirtualClock;
using namespace std::chrono_literals;
using Timed = ScriptedLine::Timed;

// At 62500 baud a reply comes 370 us after its request; a doubled or noise
// byte two byte times (160 us each) after the reply.
constexpr auto kReplyAfter = 370us;
constexpr auto kEchoAfter = kReplyAfter + 320us;

class CarefulLink : public ::testing::Test {
protected:
    VirtualClock clock;
    ScriptedLine line{clock};
    EcmLink link{line, clock};
    // Requests the ECM drops, answers late, or answers with a second byte after.
    std::set<std::uint8_t> dropped;
    std::map<std::uint8_t, std::chrono::microseconds> late;
    std::map<std::uint8_t, std::uint8_t> echo;

    void SetUp() override
    {
        line.ecm = test::answeringEcm();
        link.connectEcm("/dev/ttyUSB0", {1, 1, 3});
        ASSERT_TRUE(link.linkConnected());
        line.ecm = nullptr;
        line.timedEcm = [this](std::uint8_t address, int) -> std::vector<Timed> {
            if (dropped.count(address))
                return {};
            const std::uint8_t own = address == 0x00 ? 0xFF : address;
            const auto after = late.count(address) ? late[address] : kReplyAfter;
            if (echo.count(address))
                return {{own, after}, {echo[address], after + 320us}};
            return {{own, after}};
        };
    }

    // Clean exchanges past the careful start of the connection.
    void reachFullSpeed()
    {
        for (int i = 0; i < ReplyGuard::kFirstStretch; ++i)
            ASSERT_EQ(link.queryRam(0x40), 0x40);
        ASSERT_FALSE(link.guard().careful());
    }
    // One request the ECM does not answer: the link turns careful.
    void missOne()
    {
        dropped.insert(0x7F);
        EXPECT_EQ(link.queryRam(0x7F), std::nullopt);
        dropped.erase(0x7F);
        ASSERT_TRUE(link.guard().careful());
    }
};

TEST_F(CarefulLink, a_new_connection_starts_carefully_and_a_clean_line_soon_works_without_a_pause)
{
    EXPECT_TRUE(link.guard().careful());
    const auto first = clock.time;
    EXPECT_EQ(link.queryRam(0x40), 0x40);
    EXPECT_GT(clock.time - first, kReplyAfter) << "the line is to stay quiet after the reply";
    reachFullSpeed();
    const auto started = clock.time;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(link.queryRam(0x40 + i % 16), 0x40 + i % 16);
    EXPECT_EQ(clock.time - started, 100 * kReplyAfter) << "each exchange takes its reply time, no more";
    EXPECT_FALSE(link.guard().careful());
    EXPECT_EQ(link.strayBytes(), 0u);
}

TEST_F(CarefulLink, after_an_anomaly_a_doubled_or_noise_byte_shows_before_a_dropped_request_can_take_it)
{
    missOne();
    echo[0x50] = 0x50;  // sent twice
    echo[0x52] = 0xA7;  // noise after it
    dropped = {0x51, 0x53};
    const auto strays = link.strayBytes();
    EXPECT_EQ(link.queryRam(0x50), 0x50);
    EXPECT_EQ(link.strayBytes(), strays) << "the copy came while the line was to stay quiet: whichever byte "
                                            "answered, the value is the same";
    EXPECT_EQ(link.queryRam(0x51), std::nullopt) << "the copy was not taken for 0x51's reply";
    EXPECT_EQ(link.queryRam(0x52), 0x52);
    EXPECT_EQ(link.strayBytes(), strays + 1) << "noise: the reply may have been the second byte";
    EXPECT_EQ(link.queryRam(0x53), std::nullopt);
    EXPECT_EQ(link.ramMirror()[0x51], 0x00);
    EXPECT_EQ(link.ramMirror()[0x53], 0x00);
}

TEST_F(CarefulLink, after_a_missed_reply_the_link_waits_out_a_horizon_that_grows_to_cover_the_latest_reply_seen)
{
    reachFullSpeed();
    late[0x60] = 300ms;
    const auto asked = clock.time;
    EXPECT_EQ(link.queryRam(0x60), std::nullopt);
    EXPECT_EQ(clock.time - asked, 100ms) << "the reply wait and the quiet after it: the first horizon";
    EXPECT_EQ(link.guard().horizon(), 100ms);
    // The reply turns up long after, where no request waits for it.
    clock.time = asked + 310ms;
    const auto strays = link.strayBytes();
    EXPECT_EQ(link.queryRam(0x61), 0x61);
    EXPECT_EQ(link.strayBytes(), strays + 1);
    EXPECT_GE(link.guard().horizon(), 310ms);

    // From now on a reply that late comes while the link still waits out
    // the horizon, and is never taken for the next request's.
    const auto again = clock.time;
    EXPECT_EQ(link.queryRam(0x60), std::nullopt);
    EXPECT_GE(clock.time - again, 310ms);
    EXPECT_EQ(link.strayBytes(), strays + 2) << "the late reply came during the horizon";
    EXPECT_EQ(link.queryRam(0x62), 0x62);
    EXPECT_EQ(link.strayBytes(), strays + 2);
}

TEST_F(CarefulLink, a_clean_stretch_brings_back_full_speed_and_a_new_connection_starts_at_it)
{
    missOne();
    const auto started = clock.time;
    EXPECT_EQ(link.queryRam(0x40), 0x40);
    EXPECT_GT(clock.time - started, kReplyAfter) << "careful: the line is to stay quiet after the reply";
    for (int i = 1; i < ReplyGuard::kCleanStretch; ++i)
        ASSERT_EQ(link.queryRam(0x40), 0x40);
    EXPECT_FALSE(link.guard().careful());
    const auto fast = clock.time;
    EXPECT_EQ(link.queryRam(0x40), 0x40);
    EXPECT_EQ(clock.time - fast, kReplyAfter);

    missOne();
    line.ecm = test::answeringEcm();
    link.disconnectEcm();
    link.connectEcm("/dev/ttyUSB0", {1, 1, 3});
    line.ecm = nullptr;
    EXPECT_TRUE(link.guard().careful());
    reachFullSpeed();
}

TEST_F(CarefulLink, an_out_of_step_sync_try_makes_the_link_careful)
{
    reachFullSpeed();
    echo[0x50] = 0x50;
    EXPECT_EQ(link.queryRam(0x50), 0x50) << "at full speed the copy is not waited for";
    EXPECT_EQ(link.checkSync(), SyncResult::Resynced) << "the copy answered 0x00";
    EXPECT_TRUE(link.guard().careful());
}

}  // namespace
}  // namespace tavo
