// Logging against tavo-ecm-sim over a real pseudo-terminal, through the
// faults of a real line.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/EcmLink.h"
#include "link/PosixSerialLine.h"
#include "logging/HeadlessLog.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

// Logging through the simulator's line faults, on the real pty with the
// real reply wait: each row stored holds each address's own byte.
class LoggingThroughFaults : public ::testing::TestWithParam<std::vector<std::string>> {
protected:
    test::TempDir dir;
    PosixSerialLine line;
    SystemClock clock;

    std::string ramFile()
    {
        std::vector<std::uint8_t> page(256);
        for (std::size_t i = 0; i < page.size(); ++i)
            page[i] = static_cast<std::uint8_t>(i ^ 0xA5);
        const std::string path = dir.file("ram.bin");
        test::writeBytes(path, page);
        return path;
    }
};

TEST_P(LoggingThroughFaults, stores_only_each_addresss_own_value)
{
    std::vector<std::string> options{"--ram", ramFile()};
    options.insert(options.end(), GetParam().begin(), GetParam().end());
    test::SimProcess sim(options);
    EcmLink link(line, clock);
    link.connectEcm(sim.device(), {1, 1, 3});
    ASSERT_TRUE(link.linkConnected());
    LogChannels channels{};
    for (int n = 0; n < kChannelCount; ++n)
        channels[static_cast<std::size_t>(n)].location = 0x60 + n;
    AcquisitionState state;
    state.channelMask = 0xFF;
    HeadlessLogPlan plan;
    plan.ticks = 150;
    plan.samplePeriodMs = 1;
    const HeadlessLogResult result = runHeadlessLog(link, state, channels, customAddressText("40"), plan);
    EXPECT_GT(result.answeredTicks, 20);
    // A reply sent twice costs no row once the link is careful: whichever
    // copy answered, the value is the same. Every other fault costs some.
    const bool costsRows = std::find(GetParam().begin(), GetParam().end(), "--twice-every") == GetParam().end();
    if (costsRows) {
        EXPECT_GT(result.missedTicks, 0) << "the fault was met";
    }
    for (int r = 1; r <= state.writePos; ++r)
        for (int n = 0; n < kChannelCount; ++n)
            ASSERT_EQ(state.samples[static_cast<std::size_t>(r)][static_cast<std::size_t>(n)], (0x60 + n) ^ 0xA5)
                << "row " << r << ", channel " << n + 1;
}

INSTANTIATE_TEST_SUITE_P(Faults, LoggingThroughFaults,
                         ::testing::Values(std::vector<std::string>{"--late-every", "23", "--late-ms", "80"},
                                           std::vector<std::string>{"--line-timed", "--twice-every", "23"},
                                           std::vector<std::string>{"--line-timed", "--noise-every", "23"},
                                           std::vector<std::string>{"--drop-every", "23"}));

}  // namespace
}  // namespace tavo
