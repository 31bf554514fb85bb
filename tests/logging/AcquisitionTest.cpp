#include <gtest/gtest.h>

#include "link/EcmLink.h"
#include "logging/Acquisition.h"
#include "logging/HeadlessLog.h"
#include "support/ScriptedLine.h"

namespace tavo {
namespace {

using namespace std::chrono_literals;

// A connected link to a scripted ECM whose RAM page the test sets.
class AcquisitionTest : public ::testing::Test {
protected:
    test::VirtualClock clock;
    test::ScriptedLine line{clock};
    EcmLink link{line, clock};
    std::array<std::uint8_t, 256> ram{};
    LoggingConfig config;
    AcquisitionState state;
    CustomAddressText custom = customAddressText("40");

    void SetUp() override
    {
        setLoggingDefaults(config);
        for (std::size_t i = 0; i < ram.size(); ++i)
            ram[i] = static_cast<std::uint8_t>(i);
        line.ecm = test::answeringEcm([this](std::uint8_t address) { return ram[address]; });
        link.connectEcm("/dev/ttyUSB0", {});
        ASSERT_TRUE(link.linkConnected());
        line.written.clear();
        setLogButton(state, true);
    }
    HeldRow held;
    TickRecord tick() { return runAcquisitionTick(state, held, config.channels, custom, link); }
    // A tick, and the check that stores its row (as the next tick would).
    TickRecord tickAndStore()
    {
        const TickRecord record = tick();
        finishAcquisitionRun(state, held, link);
        return record;
    }
    const SampleRow& row(int r) const { return state.samples[static_cast<std::size_t>(r)]; }
};

TEST_F(AcquisitionTest, the_first_logged_tick_writes_row_1_after_the_sync_check_and_the_ring_wraps_to_row_0)
{
    state.channelMask = 0b1001;  // RPMs (16-bit at 0x8F) and MAP (0x86)
    ram[0x8F] = 0x20;
    ram[0x90] = 0x00;
    ram[0x86] = 0x77;
    const TickRecord first = tick();
    EXPECT_EQ(first.outcome, TickOutcome::Logged);
    EXPECT_FALSE(first.stored) << "held until the next sync check";
    EXPECT_EQ(state.writePos, 0);
    EXPECT_EQ(line.bytes(), (std::vector<std::uint8_t>{0x00, 0x12, 0x8F, 0x90, 0x86})) << "high byte first";
    const TickRecord second = tick();
    EXPECT_TRUE(second.stored);
    EXPECT_EQ(second.writePos, 1);
    EXPECT_EQ(state.writePos, 1);
    EXPECT_EQ(state.sampleCount, 1);
    EXPECT_EQ(row(1)[0], 64) << "0x2000 x 0.0078125";
    EXPECT_EQ(row(1)[3], 0x77);
    EXPECT_EQ(row(1)[1], 0) << "a channel not logged keeps its slot";
    EXPECT_EQ(row(0), SampleRow{});
    EXPECT_TRUE(link.linkSynced());

    state.writePos = 4094;
    tickAndStore();
    EXPECT_EQ(state.writePos, 0) << "4095 took the row held before, 0 this one";
    EXPECT_EQ(row(0)[3], 0x77);
}

TEST_F(AcquisitionTest, sixteen_bit_channels_scale_in_double_truncate_and_keep_the_low_byte)
{
    state.channelMask = 0b111;
    config.channels[0].location = 0xFF;  // its low byte comes from 0x00, which answers 0xFF
    config.channels[0].multiplier = 0.0078125;
    ram[0xFF] = 0xFF;
    config.channels[1].location = 0x50;
    config.channels[1].multiplier = -1.0;
    ram[0x50] = 0x01;
    ram[0x51] = 0x02;  // 258 x -1 = -258 = 0xFFFFFEFE
    config.channels[2] = config.channels[1];
    config.channels[2].multiplier = 1e12;  // beyond 32 bits: the processor's 0x80000000
    tickAndStore();
    EXPECT_EQ(row(1)[0], 255) << "0xFFFF x 0.0078125 = 511.99, truncated to 511, low byte 255";
    EXPECT_EQ(row(1)[1], 0xFE);
    EXPECT_EQ(row(1)[2], 0x00);
    EXPECT_EQ(line.bytes()[2], 0xFF);
    EXPECT_EQ(line.bytes()[3], 0x00);
}

TEST_F(AcquisitionTest, smoothing_averages_16_bit_channels_from_the_sixth_tick_on)
{
    state.channelMask = 0b101;  // RPMs (16-bit) and Throttle (8-bit)
    state.smoothing = true;
    const int rpm[] = {10, 20, 30, 40, 50, 60, 70};
    for (int t = 0; t < 7; ++t) {
        ram[0x8F] = static_cast<std::uint8_t>(rpm[t] * 128 / 256);
        ram[0x90] = static_cast<std::uint8_t>((rpm[t] * 128) % 256);
        ram[0x98] = static_cast<std::uint8_t>(rpm[t]);
        tickAndStore();
        if (t < 5) {
            EXPECT_EQ(state.prevRow1, -1) << "tick " << t + 1;
        }
    }
    EXPECT_EQ(row(5)[0], 50) << "ticks 1 to 5 store the raw value";
    EXPECT_EQ(state.prevRow1, 6);
    EXPECT_EQ(state.prevRow2, 5);
    EXPECT_EQ(row(6)[0], (40 + 50 + 60) / 3);
    EXPECT_EQ(row(7)[0], (50 + 50 + 70) / 3) << "over the stored, smoothed, rows";
    EXPECT_EQ(row(7)[2], 70) << "byte channels are never smoothed";
}

TEST_F(AcquisitionTest, a_channel_switched_on_mid_run_fills_from_then_on_and_the_custom_address_from_0x40)
{
    state.samples[2][1] = 0x33;  // an old value from an earlier run
    state.channelMask = 0;
    tickAndStore();
    tickAndStore();
    EXPECT_EQ(row(2)[1], 0x33);
    state.channelMask = 0b10 | kCustomBit;
    ram[0x3F] = 0x99;
    ram[0x40] = 0x44;
    custom = customAddressText(" 3f");
    tickAndStore();
    EXPECT_EQ(row(3)[1], 0x4B) << "Vehicle Speed: 0x696A x 0.03125 = 843 = 0x34B";
    EXPECT_EQ(row(3)[kCustomSlot], 0) << "0x3F is not sampled";
    EXPECT_EQ(state.customLocation, 0x3F);
    custom = customAddressText("40");
    tickAndStore();
    EXPECT_EQ(row(4)[kCustomSlot], 0x44);
    custom = customAddressText("zz");
    tickAndStore();
    EXPECT_EQ(state.customLocation, 0x40) << "an unparsable field keeps the address";
    EXPECT_EQ(row(5)[kCustomSlot], 0x44);
    custom = customAddressText("123456789");
    tickAndStore();
    EXPECT_EQ(state.customLocation, 0x12) << "two digits of at most seven characters";
    config.channels[2].location = 0x7FFFFFFF;  // from an edited Logging.cfg
    state.channelMask = 0b100;
    tickAndStore();
    EXPECT_EQ(row(7)[2], 0xFF) << "taken modulo 256";
}

TEST_F(AcquisitionTest, stopped_does_nothing_idle_only_scrolls_and_a_tick_cut_short_stores_nothing)
{
    state.channelMask = 0xFF;
    setLogButton(state, false);
    EXPECT_EQ(loggingPhase(state), LoggingPhase::Stopped);
    EXPECT_EQ(tick().outcome, TickOutcome::Stopped);
    AcquisitionState idle;
    idle.channelMask = 0xFF;
    EXPECT_EQ(loggingPhase(idle), LoggingPhase::Idle);
    EXPECT_EQ(runAcquisitionTick(idle, held, config.channels, custom, link).outcome, TickOutcome::Scrolled);
    EXPECT_TRUE(line.written.empty());
    EXPECT_EQ(idle.writePos, 0);

    setLogButton(state, true);
    LinkInterrupt interrupt;
    link.setInterrupt(&interrupt);
    line.onWrite = [&](const test::ScriptedLine::Written& w) {
        if (w.byte == 0x98)
            interrupt.raise();
    };
    EXPECT_EQ(tick().outcome, TickOutcome::CutShort);
    EXPECT_FALSE(held.held);
    EXPECT_EQ(state.writePos, 0);
    EXPECT_EQ(state.sampleCount, 0);
    EXPECT_EQ(row(1), SampleRow{});
}

TEST_F(AcquisitionTest, a_window_copy_kept_by_tick_records_matches_the_ticks_own_state)
{
    AcquisitionState copy = state;
    copy.channelMask = 0xFF;  // the window's mask is its own
    state.channelMask = 0x1FF;
    state.smoothing = true;
    for (int t = 0; t < 4100; ++t) {
        ram[0x8F] = static_cast<std::uint8_t>(t);
        ram[0x98] = static_cast<std::uint8_t>(t * 7);
        applyTickRecord(copy, tick());
    }
    applyTickRecord(copy, finishAcquisitionRun(state, held, link));
    EXPECT_EQ(copy.samples, state.samples);
    EXPECT_EQ(copy.rowTimesUs, state.rowTimesUs);
    EXPECT_EQ(copy.writePos, 4);
    EXPECT_EQ(copy.sampleCount, 4100);
    EXPECT_EQ(copy.prevRow2, 2);
    EXPECT_EQ(copy.channelMask, 0xFFu);
}

TEST(TickSchedule, ticks_one_period_apart_without_bursts_and_a_new_rate_restarts_the_period)
{
    TickSchedule schedule;
    schedule.start(0us, 125);
    EXPECT_EQ(schedule.due(), 125ms);
    schedule.ticked(130ms);
    EXPECT_EQ(schedule.due(), 250ms) << "kept to the grid of the period";
    schedule.ticked(600ms);
    EXPECT_EQ(schedule.due(), 600ms) << "a late tick is followed at once, once";
    schedule.setInterval(610ms, 500);
    EXPECT_EQ(schedule.due(), 1110ms);
    schedule.setInterval(1000ms, tickIntervalMs(1));
    schedule.ticked(1004ms);
    EXPECT_EQ(schedule.due(), 1004ms) << "Fastest: back to back";
}

TEST_F(AcquisitionTest, headless_logging_presses_log_runs_its_ticks_on_time_and_releases_log)
{
    state = AcquisitionState{};
    state.channelMask = 0xFF;
    HeadlessLogPlan plan;
    plan.ticks = 3;
    plan.samplePeriodMs = 250;
    const auto started = clock.time;
    const HeadlessLogResult result = runHeadlessLog(link, state, config.channels, custom, plan);
    EXPECT_EQ(result.ticks, 3);
    EXPECT_EQ(result.syncedTicks, 3);
    EXPECT_EQ(result.answeredTicks, 3);
    EXPECT_EQ(result.missedTicks, 0);
    EXPECT_EQ(result.queries, 3u * 12u + 2u) << "sync check 2, two 16-bit channels 4, six bytes; the last check";
    EXPECT_GE(state.rowTimesUs[1] - started.count(), 250000) << "the first tick one period after LOG";
    EXPECT_DOUBLE_EQ(result.seconds, std::chrono::duration<double>(clock.time - started).count());
    EXPECT_EQ(state.writePos, 3);
    EXPECT_EQ(state.rowTimesUs[3] - state.rowTimesUs[1], 500000) << "each row keeps when its tick sampled";
    EXPECT_EQ(loggingPhase(state), LoggingPhase::Stopped);

    plan.ticks.reset();
    plan.seconds = 1.0;
    EXPECT_EQ(runHeadlessLog(link, state, config.channels, custom, plan).ticks, 3) << "at 250, 500, 750 ms";
}

TEST_F(AcquisitionTest, headless_logging_at_periods_of_two_seconds_and_a_minute_logs_its_ticks)
{
    state.channelMask = 0xFF;
    HeadlessLogPlan plan;
    plan.ticks = 2;
    for (const std::int32_t period : {2000, 60000}) {
        plan.samplePeriodMs = period;
        const auto started = clock.time;
        const HeadlessLogResult result = runHeadlessLog(link, state, config.channels, custom, plan);
        EXPECT_EQ(result.ticks, 2) << period;
        EXPECT_EQ(result.answeredTicks, 2) << period;
        EXPECT_FALSE(result.ecmStopped) << period << ": the wait for a tick not yet due is no silence";
        EXPECT_GE(clock.time - started, 2 * std::chrono::milliseconds(period));
    }
}

TEST_F(AcquisitionTest, headless_logging_ends_an_ecm_answering_badly_or_not_at_all_with_the_counts)
{
    state.channelMask = 0xFF;
    int heard = 0;
    // Six of every seven requests answered: no tick of twelve gets through.
    line.ecm = [&heard](std::uint8_t byte, int) -> std::vector<std::uint8_t> {
        if (++heard % 7 == 0)
            return {};
        return {byte == 0x00 ? std::uint8_t{0xFF} : byte};
    };
    HeadlessLogPlan plan;
    plan.seconds = 30;
    plan.samplePeriodMs = 125;
    const auto started = clock.time;
    HeadlessLogResult result = runHeadlessLog(link, state, config.channels, custom, plan);
    EXPECT_TRUE(result.ecmStopped);
    EXPECT_TRUE(result.answeringBadly);
    EXPECT_GE(clock.time - started, kHeadlessSilenceLimit);
    EXPECT_LT(clock.time - started, 2 * kHeadlessSilenceLimit);
    EXPECT_GT(result.failingReplies, 0u);
    EXPECT_LT(result.failingReplies, result.failingRequests);
    EXPECT_GE(result.failingSinceSeconds, 0.0);

    line.ecm = [](std::uint8_t, int) { return std::vector<std::uint8_t>{}; };
    result = runHeadlessLog(link, state, config.channels, custom, plan);
    EXPECT_TRUE(result.ecmStopped);
    EXPECT_FALSE(result.answeringBadly);
    EXPECT_EQ(result.failingReplies, 0u);
    EXPECT_GT(result.failingRequests, 0u);
}

}  // namespace
}  // namespace tavo
