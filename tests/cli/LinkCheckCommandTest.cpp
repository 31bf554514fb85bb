// link-check against the simulated ECM: a simulator that holds its replies as
// a USB adapter left at 16 ms does is found slow, with the fix; one that
// answers at once is not. Only the verdict is asserted, never a speed: the
// 16 ms hold is far above anything a loaded machine adds to a pty.
#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/SimProcess.h"

namespace tavo {
namespace {

using LinkCheckCommand = test::CliRun;

TEST_F(LinkCheckCommand, finds_an_adapter_holding_replies_for_16_ms_slow_and_says_how_to_fix_it)
{
    test::SimProcess sim({"--usb-latency-ms", "16"});
    ASSERT_EQ(run({"link-check", "--device", sim.device(), "--checks", "20", "--low-speed", "1", "--high-speed", "3",
                   "--json"}),
              1)
        << out << err;
    EXPECT_NE(out.find(R"("verdict":"slow-adapter")"), std::string::npos) << out;
    EXPECT_NE(out.find(R"(,"count":40},"unanswered":0,"lineMs":0.32,)"), std::string::npos) << out;
    EXPECT_NE(out.find("latency_timer"), std::string::npos) << "the advice names the fix: " << out;

    ASSERT_EQ(run({"link-check", "--device", sim.device(), "--checks", "20", "--low-speed", "1", "--high-speed", "3"}),
              1);
    EXPECT_NE(out.find("verdict: slow: Replies take "), std::string::npos) << out;
    EXPECT_NE(out.find("echo 1 | sudo tee /sys/bus/usb-serial/devices/"), std::string::npos) << out;
}

TEST_F(LinkCheckCommand, a_simulator_answering_at_once_is_fast_and_gets_no_warning)
{
    test::SimProcess sim({});
    ASSERT_EQ(run({"link-check", "--device", sim.device(), "--checks", "50", "--low-speed", "1", "--high-speed", "3"}),
              0)
        << out << err;
    EXPECT_NE(out.find("replies: 100 timed, 0 unanswered; median "), std::string::npos) << out;
    EXPECT_NE(out.find("(12 exchanges a row): about "), std::string::npos) << out;
    EXPECT_NE(out.find("verdict: the line is fast"), std::string::npos) << out;
    EXPECT_EQ(out.find("latency_timer"), std::string::npos) << out;

    // The ram command times its exchanges too and says so on its error output.
    ASSERT_EQ(run({"ram", "--device", sim.device(), "--count", "4", "--json", "--low-speed", "1", "--high-speed", "3"}),
              0);
    EXPECT_NE(out.find(R"(,"count":8}})"), std::string::npos) << "two checks and four addresses: " << out;
}

TEST_F(LinkCheckCommand, an_ecm_that_never_answers_fails_with_the_reason)
{
    test::SimProcess sim({"--mute-after", "1"});
    ASSERT_EQ(run({"link-check", "--device", sim.device(), "--json", "--low-speed", "1", "--high-speed", "3"}), 1)
        << out << err;
    EXPECT_NE(out.find(R"("verdict":"no-replies")"), std::string::npos) << out;
    EXPECT_EQ(run({"link-check", "--device", dir.file("no-such-port")}), 1);
    EXPECT_EQ(err.substr(0, err.find('\n')), "There is no serial device " + dir.file("no-such-port") + ".");
    EXPECT_EQ(run({"link-check"}), 2);
}

}  // namespace
}  // namespace tavo
