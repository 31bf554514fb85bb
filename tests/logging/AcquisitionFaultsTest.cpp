// Logging over a line with the faults a real one has: every stored value
// must be the one the ECM sent for that address, a tick that could not prove
// it stores nothing, and the run goes on by itself once the ECM answers.
#include <gtest/gtest.h>

#include "link/EcmLink.h"
#include "logging/Acquisition.h"
#include "logging/AcquisitionRun.h"
#include "support/ScriptedLine.h"

namespace tavo {
namespace {

using namespace std::chrono_literals;
using Timed = test::ScriptedLine::Timed;

// Each address answers a byte of its own, so a value stored for one
// address from another's reply shows.
std::uint8_t own(std::uint8_t address)
{
    return address == 0x00 ? 0xFF : address == 0x12 ? 0x12 : static_cast<std::uint8_t>(address ^ 0xA5);
}

// On a line at 62500 baud a reply comes 370 us after its request.
constexpr auto kReplyAfter = 370us;
constexpr auto kByteTime = 160us;

enum class Fault { None, Late, Twice, Noise, DropLowHalf, Mute };

// The ECM with one fault, played on every k-th request it hears.
struct FaultyEcm {
    Fault fault = Fault::None;
    int every = 29;  // a tick asks 12 times: some ticks meet the fault, some not
    int heard = 0;

    std::vector<Timed> operator()(std::uint8_t request, int)
    {
        ++heard;
        const std::uint8_t answer = own(request);
        const bool hit = fault != Fault::None && heard % every == 0;
        switch (hit ? fault : Fault::None) {
        case Fault::Late: return {{answer, 80ms}};
        case Fault::Twice: return {{answer, kReplyAfter}, {answer, kReplyAfter + 2 * kByteTime}};
        case Fault::Noise: return {{answer, kReplyAfter}, {0x5A, kReplyAfter + 2 * kByteTime}};
        case Fault::DropLowHalf:
            if (request == 0x61)
                return {};
            break;
        case Fault::Mute:
        case Fault::None: break;
        }
        if (fault == Fault::Mute && heard > every)
            return {};
        return {{answer, kReplyAfter}};
    }
};

class AcquisitionFaults : public ::testing::Test {
protected:
    test::VirtualClock clock;
    test::ScriptedLine line{clock};
    EcmLink link{line, clock};
    LogChannels channels{};
    FaultyEcm ecm;

    void SetUp() override
    {
        // Channel 1 a 16-bit value at 0x60 (multiplier 1: the low byte,
        // 0x61's, is stored), channels 2 to 8 bytes at 0x62 to 0x68.
        for (int n = 0; n < kChannelCount; ++n) {
            channels[static_cast<std::size_t>(n)].location = 0x61 + n;
            channels[static_cast<std::size_t>(n)].multiplier = 1.0;
        }
        channels[0].location = 0x60;
        channels[0].word = true;
        line.ecm = [](std::uint8_t byte, int) {
            return byte == 0x12 ? std::vector<std::uint8_t>{0x12} : std::vector<std::uint8_t>{};
        };
        link.connectEcm("/dev/ttyUSB0", {1, 1, 3});
        ASSERT_TRUE(link.linkConnected());
        line.ecm = nullptr;
        line.timedEcm = [this](std::uint8_t byte, int baud) { return ecm(byte, baud); };
    }

    AcquisitionRun startRun(std::optional<LinkTarget> target = {})
    {
        AcquisitionState state;
        state.channelMask = 0xFF | kCustomBit;
        state.samplePeriodMs = 1;
        setLogButton(state, true);
        AcquisitionRun run(state, channels, std::move(target));
        run.customText = customAddressText("70");
        run.started(link);
        return run;
    }

    // Ticks `count` times (a tick waiting to retry lets 10 ms pass), then ends the run.
    void tick(AcquisitionRun& run, int count)
    {
        for (int t = 0; t < count;) {
            if (run.tick(link).outcome == TickOutcome::Waiting)
                clock.time += 10ms;
            else
                ++t;
        }
    }

    // Every row stored holds each address's own byte.
    static void expectOwnValues(const AcquisitionState& state)
    {
        for (int r = 1; r <= state.writePos; ++r) {
            const SampleRow& row = state.samples[static_cast<std::size_t>(r)];
            ASSERT_EQ(row[0], own(0x61)) << "row " << r << ": the 16-bit channel's low half";
            for (int n = 1; n < kChannelCount; ++n)
                ASSERT_EQ(row[static_cast<std::size_t>(n)], own(static_cast<std::uint8_t>(0x61 + n)))
                    << "row " << r << ", channel " << n + 1;
            ASSERT_EQ(row[kCustomSlot], own(0x70)) << "row " << r;
        }
    }
};

TEST_F(AcquisitionFaults, the_first_row_of_each_log_run_is_marked_so_two_runs_are_never_joined)
{
    AcquisitionRun run = startRun();
    tick(run, 4);
    run.finish(link);
    const int firstRunEnd = run.state.writePos;
    ASSERT_GE(firstRunEnd, 2);
    setLogButton(run.state, false);
    setLogButton(run.state, true);  // LOG pressed again
    run.started(link);
    tick(run, 4);
    run.finish(link);
    ASSERT_GT(run.state.writePos, firstRunEnd + 1);
    for (int r = 1; r <= run.state.writePos; ++r)
        EXPECT_EQ(run.state.firstOfRun[static_cast<std::size_t>(r)], r == 1 || r == firstRunEnd + 1) << "row " << r;
}

TEST_F(AcquisitionFaults, late_replies_store_no_value_of_another_address)
{
    ecm.fault = Fault::Late;
    AcquisitionRun run = startRun();
    tick(run, 200);
    run.finish(link);
    expectOwnValues(run.state);
    EXPECT_GT(run.state.sampleCount, 50);
    EXPECT_EQ(run.answeredTicks(), run.state.sampleCount);
    EXPECT_GT(run.missedTicks(), 0);
    EXPECT_EQ(run.answeredTicks() + run.missedTicks(), 200);
}

TEST_F(AcquisitionFaults, replies_sent_twice_store_no_value_of_another_address)
{
    ecm.fault = Fault::Twice;
    AcquisitionRun run = startRun();
    tick(run, 200);
    run.finish(link);
    expectOwnValues(run.state);
    EXPECT_EQ(run.answeredTicks(), 200)
        << "the copy comes while the line is to stay quiet; whichever of the two answered, the value is the same";
}

TEST_F(AcquisitionFaults, noise_after_replies_stores_no_value_of_another_address)
{
    ecm.fault = Fault::Noise;
    AcquisitionRun run = startRun();
    tick(run, 200);
    run.finish(link);
    expectOwnValues(run.state);
    EXPECT_GT(run.state.sampleCount, 10);
    EXPECT_GT(run.missedTicks(), 0);
}

TEST_F(AcquisitionFaults, a_stray_byte_in_the_middle_of_a_tick_keeps_that_ticks_row_out)
{
    AcquisitionRun run = startRun();
    tick(run, 5);
    const int stored = run.state.sampleCount;
    // A noise byte arrives just as channel 4 is asked: it is read as the
    // answer, and the true answer comes together with channel 5's.
    line.onWrite = [this](const test::ScriptedLine::Written& written) {
        if (written.byte == 0x64)
            line.arrive(0x5A, clock.time);
    };
    tick(run, 1);
    line.onWrite = nullptr;
    tick(run, 5);
    run.finish(link);
    EXPECT_EQ(run.state.sampleCount, stored + 6) << "the rows of the seven ticks after, but the disturbed one's";
    EXPECT_EQ(run.missedTicks(), 1);
    expectOwnValues(run.state);
}

TEST_F(AcquisitionFaults, a_sixteen_bit_channel_with_one_half_unanswered_stores_no_row)
{
    ecm.fault = Fault::DropLowHalf;
    ecm.every = 1;
    AcquisitionRun run = startRun();
    const AcquisitionState before = run.state;
    tick(run, 20);
    run.finish(link);
    EXPECT_EQ(run.state.writePos, before.writePos);
    EXPECT_EQ(run.state.sampleCount, 0);
    EXPECT_EQ(run.state.samples, before.samples) << "the ring stays as it was";
    EXPECT_EQ(run.missedTicks(), 20);
}

TEST_F(AcquisitionFaults, a_mute_ecm_stores_nothing_and_is_not_asked_faster_than_every_50_ms)
{
    ecm.fault = Fault::Mute;
    ecm.every = 300;
    AcquisitionRun run = startRun();
    tick(run, 40);
    const int stored = run.state.sampleCount;
    EXPECT_GT(stored, 5);
    const auto silentFrom = clock.time;
    const int heardBefore = ecm.heard;
    tick(run, 20);
    run.finish(link);
    EXPECT_EQ(run.state.sampleCount, stored) << "no row from silence";
    EXPECT_LE(ecm.heard - heardBefore, 20 + 1) << "one unanswered request a tick";
    EXPECT_GE(clock.time - silentFrom, 20 * 50ms);
    EXPECT_LE(run.lastAnswered(), silentFrom);
    expectOwnValues(run.state);
}

TEST_F(AcquisitionFaults, a_lost_port_stores_nothing_and_the_run_reconnects_by_itself)
{
    AcquisitionRun run = startRun(LinkTarget{"/dev/ttyUSB0", {1, 1, 3}});
    tick(run, 30);
    const int before = run.state.sampleCount;
    line.gone = true;
    tick(run, 30);
    EXPECT_FALSE(link.linkConnected());
    EXPECT_EQ(link.state().failure.port.problem, PortProblem::NoSuchDevice) << "reconnecting, the port is gone";
    EXPECT_LE(run.state.sampleCount, before);
    const int whileGone = run.state.sampleCount;
    const std::size_t opensWhileGone = line.opened.size();
    // The adapter is plugged back in.
    line.gone = false;
    tick(run, 300);
    run.finish(link);
    EXPECT_TRUE(link.linkConnected());
    EXPECT_GT(run.state.sampleCount, whileGone + 100) << "logging again, on its own";
    EXPECT_LE(opensWhileGone, 1u + 1u + 3u) << "at most one attempt a second";
    expectOwnValues(run.state);
}

}  // namespace
}  // namespace tavo
