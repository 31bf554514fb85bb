#include <gtest/gtest.h>

#include "link/EcmLink.h"
#include "logging/AcquisitionRun.h"
#include "logging/LogRunState.h"
#include "support/ScriptedLine.h"

namespace tavo {
namespace {

using namespace std::chrono_literals;

// A run's phases as the session moves them, with the ticks of an
// AcquisitionRun on a scripted ECM that answers, falls silent or goes away.
class LogRunStateTest : public ::testing::Test {
protected:
    test::VirtualClock clock;
    test::ScriptedLine line{clock};
    EcmLink link{line, clock};
    LoggingConfig config;
    AcquisitionState acquisition;
    LogRunState state;
    bool answering = true;

    void SetUp() override
    {
        setLoggingDefaults(config);
        acquisition.channelMask = 0x01;
        line.ecm = [this](std::uint8_t byte, int baud) {
            return answering ? test::answeringEcm([](std::uint8_t a) { return a; })(byte, baud)
                             : std::vector<std::uint8_t>{};
        };
    }
    // LOG pressed and the connection procedure run, as the link thread would.
    bool pressAndConnect(AcquisitionRun& run)
    {
        EXPECT_TRUE(state.press(acquisition));
        EXPECT_EQ(state.phase(), RunPhase::Connecting);
        link.connectEcm("/dev/ttyUSB0", {});
        if (link.linkConnected()) {
            setLogButton(run.state, true);
            run.started(link);
        }
        return state.connectFinished(link.linkConnected(), clock.time, acquisition);
    }
    void tick(AcquisitionRun& run)
    {
        const TickRecord record = run.tick(link);
        if (record.outcome == TickOutcome::Logged)
            state.ticked(record.trouble, clock.time);
        clock.time += 20ms;
    }
};

TEST_F(LogRunStateTest, connect_logs_a_failed_connection_goes_back_to_idle_with_log_released_and_abort_wins)
{
    acquisition.logPaused = true;
    line.openFails = true;
    AcquisitionRun failing(acquisition, config.channels);
    EXPECT_FALSE(pressAndConnect(failing));
    EXPECT_EQ(state.phase(), RunPhase::Idle);
    EXPECT_FALSE(acquisition.logOn);
    EXPECT_TRUE(acquisition.logPaused) << "LOG's flags as they were";

    line.openFails = false;
    ASSERT_TRUE(state.press(acquisition));
    EXPECT_FALSE(state.press(acquisition)) << "already connecting";
    EXPECT_TRUE(state.abort());
    EXPECT_FALSE(state.abort()) << "once";
    link.connectEcm("/dev/ttyUSB0", {});
    EXPECT_FALSE(state.connectFinished(link.linkConnected(), clock.time, acquisition)) << "connected, but aborted";
    EXPECT_EQ(state.phase(), RunPhase::Idle);
    EXPECT_FALSE(acquisition.logOn);

    AcquisitionRun run(acquisition, config.channels);
    EXPECT_TRUE(pressAndConnect(run));
    EXPECT_EQ(state.phase(), RunPhase::Logging);
    EXPECT_TRUE(acquisition.logOn);
    EXPECT_FALSE(state.abort()) << "nothing to abort once connected";
    state.stop();
    EXPECT_EQ(state.phase(), RunPhase::Idle);
}

TEST_F(LogRunStateTest, silence_is_no_reply_a_lost_port_is_recovering_and_an_answer_brings_logging_back)
{
    AcquisitionRun run(acquisition, config.channels, LinkTarget{"/dev/ttyUSB0", {}});
    clock.time = 3600s;
    ASSERT_TRUE(pressAndConnect(run));
    for (int i = 0; i < 5; ++i)
        tick(run);
    const auto answeredAt = state.lastAnswered();
    EXPECT_GE(answeredAt, 3600s);

    answering = false;
    for (int i = 0; i < 5 && clock.time - answeredAt < 400ms; ++i)
        tick(run);
    EXPECT_FALSE(state.checkSilence(clock.time, 500ms, link.linkConnected())) << "not yet past the limit";
    EXPECT_EQ(state.phase(), RunPhase::Logging);
    clock.time = answeredAt + 2s;
    tick(run);
    EXPECT_EQ(state.lastTrouble(), TickTrouble::NoReply);
    EXPECT_TRUE(state.checkSilence(clock.time, 500ms, link.linkConnected()));
    EXPECT_EQ(state.phase(), RunPhase::NoReply);
    EXPECT_EQ(state.lastAnswered(), answeredAt) << "a tick without reply is no answer";
    // The wall clock read now: the last answer was two seconds before.
    const TimeOfDay since = state.lastAnsweredAt(clock.time, {0, 0, 3});
    EXPECT_EQ(since.hour * 3600 + since.minute * 60 + since.second, 1) << "one clock for both";

    line.gone = true;
    link.disconnectEcm();
    EXPECT_TRUE(state.checkSilence(clock.time, 500ms, link.linkConnected()));
    EXPECT_EQ(state.phase(), RunPhase::Recovering);

    // The port comes back and the ECM answers: the run reconnects by itself.
    line.gone = false;
    answering = true;
    for (int i = 0; i < 200 && state.phase() != RunPhase::Logging; ++i)
        tick(run);
    EXPECT_EQ(state.phase(), RunPhase::Logging);
    EXPECT_TRUE(link.linkConnected());
    EXPECT_GT(state.lastAnswered(), answeredAt);
    EXPECT_FALSE(state.checkSilence(clock.time, 500ms, true));

    state.stop();
    EXPECT_EQ(state.phase(), RunPhase::Idle);
    EXPECT_FALSE(state.ticked(TickTrouble::None, clock.time)) << "no run, no phase";
}

TEST(TimeOfDayBefore, wraps_past_midnight)
{
    const TimeOfDay t = timeOfDayBefore({0, 0, 5}, 10s);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 59);
    EXPECT_EQ(t.second, 55);
}

}  // namespace
}  // namespace tavo
