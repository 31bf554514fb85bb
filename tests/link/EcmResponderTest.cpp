#include <gtest/gtest.h>

#include "EcmResponder.h"

namespace tavo::sim {
namespace {

std::vector<int> answers(EcmResponder& ecm, std::initializer_list<int> requests, int baud = 62500)
{
    std::vector<int> replies;
    for (const int request : requests) {
        const SimReply reply = ecm.hear(static_cast<std::uint8_t>(request), baud, 0.0);
        replies.push_back(reply.count ? reply.bytes[0] : -1);
    }
    return replies;
}

TEST(EcmResponderTest, each_request_for_address_00_starts_the_next_frame_and_the_last_frame_stays)
{
    SimOptions options;
    options.frames.resize(2);
    options.frames[0][0x40] = 0xA0;
    options.frames[1][0x40] = 0xB1;
    EcmResponder ecm(options);
    EXPECT_EQ(answers(ecm, {0x40, 0x00, 0x12, 0x40, 0x00, 0x40, 0x00, 0x40}),
              (std::vector<int>{0xA0, 0xFF, 0x12, 0xA0, 0xFF, 0xB1, 0xFF, 0xB1}));
}

TEST(EcmResponderTest, dropping_wrong_rates_and_every_kth_request_counts_them_as_ignored)
{
    SimOptions options;
    options.ram = RamPage{};
    options.baud = 62500;
    options.dropEvery = 3;
    EcmResponder ecm(options);
    EXPECT_EQ(answers(ecm, {0x12, 0x12, 0x12, 0x12}), (std::vector<int>{0x12, 0x12, -1, 0x12}));
    EXPECT_EQ(answers(ecm, {0x12}, 9600), (std::vector<int>{-1}));
    EXPECT_EQ(ecm.statistics().heard, 5u);
    EXPECT_EQ(ecm.statistics().replied, 3u);
    EXPECT_EQ(ecm.statistics().ignored, 2u);
}

TEST(EcmResponderTest, late_twice_noise_and_mute_play_on_the_kth_request_they_would_answer)
{
    SimOptions options;
    options.ram = RamPage{};
    (*options.ram)[0x40] = 0x44;
    options.lateEvery = 2;
    options.lateMs = 80;
    options.twiceEvery = 3;
    options.noiseEvery = 5;
    options.muteAfter = 6;
    EcmResponder ecm(options);
    std::vector<SimReply> replies;
    for (int i = 0; i < 7; ++i)
        replies.push_back(ecm.hear(0x40, 62500, 0.0));
    EXPECT_EQ(replies[0].lateMs, 0);
    EXPECT_EQ(replies[1].lateMs, 80);
    EXPECT_EQ(replies[2].followUpCount, 1);
    EXPECT_EQ(replies[2].followUp, 0x44) << "the reply a second time";
    EXPECT_EQ(replies[4].followUpCount, 1) << "a noise byte";
    EXPECT_EQ(replies[5].count, 1);
    EXPECT_EQ(replies[6].count, 0) << "muted after six requests";
    EXPECT_EQ(ecm.statistics().ignored, 1u);
}

TEST(EcmResponderTest, line_rates_no_serial_line_runs_are_refused_with_a_message)
{
    for (const char* rate : {"49", "12000001", "43000000", "2147483647"}) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(parseSimOptions({"--baud", rate}, options, error)) << rate;
        EXPECT_NE(error.find("--baud takes a line rate of 50 to 12000000"), std::string::npos) << rate << ": " << error;
    }
    SimOptions fastest;
    std::string error;
    ASSERT_TRUE(parseSimOptions({"--baud", "12000000"}, fastest, error)) << error;
    EcmResponder ecm(fastest);
    EXPECT_EQ(answers(ecm, {0x12}, 12'000'000), (std::vector<int>{0x12}));
    EXPECT_EQ(answers(ecm, {0x12}, 62500), (std::vector<int>{-1})) << "another rate is not understood";
}

}  // namespace
}  // namespace tavo::sim
