#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/EcmLink.h"
#include "link/LinkCheck.h"
#include "link/ReplyTimes.h"
#include "support/ScriptedLine.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

using test::ScriptedLine;
using test::VirtualClock;
using namespace std::chrono_literals;

TEST(ReplyTimes, median_and_95th_percentile_are_true_to_half_a_step_in_every_range)
{
    ReplyTimes times;
    times.restart(62500);
    EXPECT_EQ(times.summary().lineUs, 320) << "twenty bit times at 62500 baud";
    // 90 replies of 0.4 ms, 10 of 16.3 ms: median 0.4, p95 16.3.
    for (int i = 0; i < 90; ++i)
        times.replied(400us);
    for (int i = 0; i < 10; ++i)
        times.replied(16300us);
    EXPECT_EQ(times.summary().count, 100u);
    EXPECT_NEAR(times.summary().medianUs, 400, 5);
    EXPECT_NEAR(times.summary().p95Us, 16300, 50);
    times.replied(250ms);
    times.replied(3s);
    EXPECT_NEAR(times.summary().medianUs, 400, 5);
    for (int i = 0; i < 200; ++i)
        times.replied(250ms);
    EXPECT_NEAR(times.summary().medianUs, 250'000, 500);
    EXPECT_EQ(ReplyTimes::middleOf(ReplyTimes::binOf(5'000'000)), 1'000'000) << "longer times share the last bin";

    times.restart(7812);
    EXPECT_EQ(times.summary().count, 0u) << "a new connection starts afresh";
    EXPECT_EQ(times.summary().lineUs, 2560);
}

TEST(ReplyTimes, the_verdict_needs_twenty_replies_and_a_median_three_ms_above_the_line)
{
    ReplyTimeSummary replies{.count = 19, .unanswered = 0, .medianUs = 16000, .p95Us = 16000, .lineUs = 320};
    EXPECT_EQ(judgeReplies(replies), ReplyVerdict::TooFew);
    replies.count = 20;
    EXPECT_EQ(judgeReplies(replies), ReplyVerdict::SlowAdapter);
    replies.medianUs = 3320;
    EXPECT_EQ(judgeReplies(replies), ReplyVerdict::Fast);
    replies.medianUs = 3330;
    EXPECT_EQ(judgeReplies(replies), ReplyVerdict::SlowAdapter);
    EXPECT_EQ(judgeReplies({.count = 0, .unanswered = 5}), ReplyVerdict::NoReplies);
    EXPECT_EQ(judgeReplies({}), ReplyVerdict::TooFew);
}

TEST(ReplyTimes, texts_show_the_median_and_only_a_slow_adapter_gets_a_sentence_with_its_fix)
{
    const ReplyTimeSummary fast{.count = 300, .medianUs = 405, .p95Us = 455, .lineUs = 320};
    const ReplyTimeSummary slow{.count = 300, .medianUs = 16050, .p95Us = 16950, .lineUs = 320};
    EXPECT_EQ(replyTimeText(fast), "reply 0.4 ms");
    EXPECT_EQ(replyTimeText(slow), "reply 16 ms");
    EXPECT_EQ(replyTimeText({}), "");
    EXPECT_EQ(slowAdapterSentence(fast, AdapterSystem::Linux, {"ttyUSB0", 1}), "");

    const std::string linux = slowAdapterSentence(slow, AdapterSystem::Linux, {"ttyUSB2", 16});
    EXPECT_NE(linux.find("Replies take 16 ms where the line needs 0.3 ms"), std::string::npos) << linux;
    EXPECT_NE(linux.find("(its latency timer is 16 ms)"), std::string::npos) << linux;
    EXPECT_NE(linux.find("echo 1 | sudo tee /sys/bus/usb-serial/devices/ttyUSB2/latency_timer"), std::string::npos);
    EXPECT_NE(linux.find("ATTR{latency_timer}=\"1\""), std::string::npos);

    const std::string lowest = slowAdapterSentence(slow, AdapterSystem::Linux, {"ttyUSB2", 1});
    EXPECT_NE(lowest.find("latency timer is already 1 ms: something else holds them back"), std::string::npos)
        << lowest;
    EXPECT_EQ(lowest.find("echo 1"), std::string::npos) << "no advice to set what is set";

    const std::string windows = slowAdapterSentence(slow, AdapterSystem::Windows, {"COM3", std::nullopt});
    EXPECT_NE(windows.find("Device Manager open COM3, Port Settings, Advanced"), std::string::npos) << windows;
    EXPECT_NE(windows.find("\"Latency Timer (msec)\" to 1"), std::string::npos);
    EXPECT_EQ(windows.find("latency timer is"), std::string::npos) << "an unknown timer is not guessed";

    EXPECT_NEAR(expectedRowsPerSecond(slow, 12), 1e6 / (16050.0 * 12), 0.01);
    EXPECT_EQ(expectedRowsPerSecond({}, 12), 0.0);
}

// The link on a scripted line: the ECM answers each request `turnaround`
// after it, or at the next multiple of `latency` as an adapter would.
class LinkReplyTimesTest : public ::testing::Test {
protected:
    VirtualClock clock;
    ScriptedLine line{clock};
    EcmLink link{line, clock};

    void answerAfter(std::chrono::microseconds turnaround, std::chrono::microseconds latency = 0us)
    {
        line.timedEcm = [this, turnaround, latency](std::uint8_t byte, int) {
            auto after = turnaround;
            if (latency > 0us)
                after = latency - clock.time % latency;
            const std::uint8_t reply = byte == 0x00 ? 0xFF : byte;
            return std::vector<ScriptedLine::Timed>{{reply, after}};
        };
    }
    void syncChecks(int count)
    {
        for (int i = 0; i < count; ++i)
            link.checkSync();
    }
};

TEST_F(LinkReplyTimesTest, a_fast_line_is_timed_request_to_reply_and_judged_fast)
{
    answerAfter(400us);
    link.connectEcm("/dev/ttyUSB0", {1, 1, 3});
    ASSERT_TRUE(link.linkConnected());
    EXPECT_EQ(link.state().replies.count, 0u) << "the probes are no exchanges";
    syncChecks(50);
    const ReplyTimeSummary& replies = link.state().replies;
    EXPECT_EQ(replies.count, 100u);
    EXPECT_EQ(replies.unanswered, 0u);
    EXPECT_NEAR(replies.medianUs, 400, 5);
    EXPECT_NEAR(replies.p95Us, 400, 5);
    EXPECT_EQ(replies.lineUs, 320);
    EXPECT_EQ(judgeReplies(replies), ReplyVerdict::Fast);
    EXPECT_EQ(slowAdapterSentence(replies, thisAdapterSystem(), {}), "");
}

TEST_F(LinkReplyTimesTest, an_adapter_holding_replies_for_16_ms_is_judged_slow_and_reconnecting_starts_afresh)
{
    answerAfter(0us, 16ms);
    link.connectEcm("/dev/ttyUSB0", {1, 1, 3});
    ASSERT_TRUE(link.linkConnected());
    syncChecks(30);
    EXPECT_EQ(link.state().replies.count, 60u);
    EXPECT_GT(link.state().replies.medianUs, 12000);
    EXPECT_LE(link.state().replies.p95Us, 16050);
    EXPECT_EQ(judgeReplies(link.state().replies), ReplyVerdict::SlowAdapter);

    link.disconnectEcm();
    EXPECT_EQ(link.state().replies.count, 60u) << "kept after the connection ends";
    answerAfter(400us);
    link.connectEcm("/dev/ttyUSB0", {1, 1, 3});
    ASSERT_TRUE(link.linkConnected());
    EXPECT_EQ(link.state().replies.count, 0u);
    syncChecks(15);
    EXPECT_EQ(judgeReplies(link.state().replies), ReplyVerdict::Fast);
}

TEST_F(LinkReplyTimesTest, an_ecm_that_stops_answering_leaves_unanswered_requests_and_no_times)
{
    answerAfter(400us);
    link.connectEcm("/dev/ttyUSB0", {});
    ASSERT_TRUE(link.linkConnected());
    line.timedEcm = nullptr;
    syncChecks(25);
    EXPECT_EQ(link.state().replies.count, 0u);
    EXPECT_EQ(link.state().replies.unanswered, 25u) << "a silent ECM is asked once a check";
    EXPECT_EQ(judgeReplies(link.state().replies), ReplyVerdict::NoReplies);
    EXPECT_EQ(replyTimeText(link.state().replies), "");
}

#if !defined(_WIN32)
TEST(AdapterLatency, the_latency_timer_is_read_from_the_adapters_sysfs_file_and_nothing_else_is_guessed)
{
    test::TempDir dir;
    const std::filesystem::path root = dir.path() / "sys";
    std::filesystem::create_directories(root / "bus/usb-serial/devices/ttyUSB7");
    std::ofstream(root / "bus/usb-serial/devices/ttyUSB7/latency_timer") << "16\n";
    std::ofstream(dir.path() / "ttyUSB7") << "";
    std::filesystem::create_directory_symlink(dir.path(), dir.path() / "by-id");

    const AdapterLatency adapter = readAdapterLatency((dir.path() / "by-id/ttyUSB7").string(), root.string());
    EXPECT_EQ(adapter.portName, "ttyUSB7");
    EXPECT_EQ(adapter.timerMs, 16);
    std::ofstream(dir.path() / "ttyUSB8") << "";
    EXPECT_EQ(readAdapterLatency((dir.path() / "ttyUSB8").string(), root.string()).timerMs, std::nullopt);
    EXPECT_EQ(readAdapterLatency("/dev/pts/3", root.string()).portName, "") << "a pty is no adapter";
    EXPECT_EQ(parseLatencyTimer("1"), 1);
    EXPECT_EQ(parseLatencyTimer("0\n"), std::nullopt);
    EXPECT_EQ(parseLatencyTimer("x"), std::nullopt);
}
#endif

}  // namespace
}  // namespace tavo
