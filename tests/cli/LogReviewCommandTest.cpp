#include <gtest/gtest.h>

#include "logging/LogFile.h"
#include "logging/LoggingConfig.h"
#include "support/CliRun.h"

namespace tavo {
namespace {

// Logs with known rows: the k-th logged row is ring row k + 1.
class LogReviewCommand : public test::CliRun {
protected:
    std::string writeLog(const char* name, std::uint32_t mask, const std::vector<std::vector<int>>& columns)
    {
        LogFileContent log;
        log.channelMask = mask;
        log.samplePeriodMs = 62;
        std::size_t c = 0;
        for (int slot = 0; slot <= kCustomSlot; ++slot) {
            if ((mask & (1u << slot)) == 0)
                continue;
            for (std::size_t k = 0; k < columns[c].size(); ++k)
                log.samples[k + 1][static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(columns[c][k]);
            log.writePos = static_cast<std::int32_t>(columns[c].size());
            ++c;
        }
        test::writeText(dir.file(name), encodeLogFile(log));
        return dir.file(name);
    }
};

TEST_F(LogReviewCommand, log_stats_gives_each_logged_channel_in_json_and_one_line_each_as_text)
{
    const std::string log = writeLog("run.log", 0x101, {{10, 41, 20, 30}, {1, 2, 2, 0}});
    ASSERT_EQ(run({"log-stats", log, "--json", "--config", dir.file("none.cfg")}), 1) << "a named file must be there";
    ASSERT_EQ(run({"log-stats", log, "--json"}), 0) << err;
    EXPECT_EQ(out, R"({"channels":[{"title":"RPMs","slot":0,"rows":4,"min":10,"max":41,"mean":25.25,"last":30},)"
                   R"({"title":"Custom","slot":8,"rows":4,"min":0,"max":2,"mean":1.25,"last":0}],)"
                   R"("rows":4,"gaps":{"count":0,"seconds":0},"wrapped":false,"writePos":4,"channelMask":257,"periodMs":62})"
                   "\n");

    LoggingConfig config;
    setLoggingDefaults(config);
    config.channels[0].setTitle("Engine Speed");
    ASSERT_TRUE(writeLoggingConfig(config, dir.file("Logging.cfg")).ok());
    ASSERT_EQ(run({"log-stats", log, "--config", dir.file("Logging.cfg")}), 0) << err;
    EXPECT_EQ(out,
              "Engine Speed (slot 0): 4 rows, min 10, max 41, mean 25.250, last 30\n"
              "Custom (slot 8): 4 rows, min 0, max 2, mean 1.250, last 0\n"
              "gaps: 0, 0.000 s\n");

    const std::string empty = writeLog("empty.log", 0x1, {{}});
    ASSERT_EQ(run({"log-stats", empty, "--json"}), 0) << err;
    EXPECT_EQ(out, R"({"channels":[{"title":"RPMs","slot":0,"rows":0,"min":null,"max":null,"mean":null,"last":null}],)"
                   R"("rows":0,"gaps":{"count":0,"seconds":0},"wrapped":false,"writePos":0,"channelMask":1,"periodMs":62})"
                   "\n");
    ASSERT_EQ(run({"log-stats", empty}), 0);
    EXPECT_EQ(out, "RPMs (slot 0): 0 rows\ngaps: 0, 0.000 s\n");
}

TEST_F(LogReviewCommand, log_stats_and_log_hits_read_a_tavo_csv_as_the_log_window_does_and_count_its_gaps)
{
    // Measured seconds, a step of 0.1 s and one silence of 43 s; MAP (channel 4) at 40, then 200.
    std::string csv = "row,seconds,RPMs,MAP\n";
    double t = 0;
    for (int k = 0; k < 20; ++k) {
        t += k == 10 ? 43.0 : 0.1;
        csv += std::to_string(k) + "," + std::to_string(t) + ",10," + (k < 10 ? "40" : "200") + "\n";
    }
    test::writeText(dir.file("drive.csv"), csv);
    ASSERT_EQ(run({"log-stats", dir.file("drive.csv"), "--json"}), 0) << err;
    EXPECT_NE(out.find(R"({"title":"MAP","slot":3,"rows":20,"min":40,"max":200,"mean":120,"last":200})"),
              std::string::npos) << out;
    EXPECT_NE(out.find(R"("rows":20,"gaps":{"count":1,"seconds":43},"wrapped":false,"writePos":null,)"),
              std::string::npos) << out;
    ASSERT_EQ(run({"log-stats", dir.file("drive.csv")}), 0) << err;
    EXPECT_EQ(out.substr(out.find("gaps")), "gaps: 1, 43.000 s\n");

    ASSERT_EQ(run({"log-hits", sample(), "MAPTBL", dir.file("drive.csv"), "--channel", "4"}), 0) << err;
    EXPECT_EQ(out.substr(out.find("rows ")), "rows 20, below 0, above 0\n");
    EXPECT_EQ(out.rfind("index\tx\ty\thits\n0\t20\t40\t0\n1\t40\t52\t10\n", 0), 0u) << out;
    EXPECT_EQ(run({"log-hits", sample(), "MAPTBL", dir.file("drive.csv"), "--channel", "2"}), 1);

    test::writeText(dir.file("odd.csv"), "row,seconds,RPMs\n0,zero,1\n");
    EXPECT_EQ(run({"log-stats", dir.file("odd.csv")}), 1);
    EXPECT_EQ(err.rfind("tavo-cli: unable to read " + dir.file("odd.csv") + ": Line 2: ", 0), 0u) << err;
}

TEST_F(LogReviewCommand, log_hits_counts_a_channel_on_each_table_point_with_below_and_above_apart)
{
    // MAPTBL's x: 20, 40, ..., 200. MAP (channel 4) at 10, 20, 30 (a tie: the lower x), 31, 200, 201, 255.
    const std::string log = writeLog("run.log", 0x9, {{1, 1, 1, 1, 1, 1, 1}, {10, 20, 30, 31, 200, 201, 255}});
    ASSERT_EQ(run({"log-hits", sample(), "MAPTBL", log, "--channel", "4", "--json"}), 0) << err;
    EXPECT_EQ(out.rfind(R"({"points":[{"index":0,"x":20,"y":40,"hits":2},{"index":1,"x":40,"y":52,"hits":1},)", 0), 0u)
        << out;
    EXPECT_NE(out.find(R"({"index":9,"x":200,"y":160,"hits":1}],"rows":7,"below":1,"above":2})"), std::string::npos)
        << out;
    ASSERT_EQ(run({"log-hits", sample(), "maptbl", log, "--channel", "4"}), 0) << err;
    EXPECT_EQ(out.rfind("index\tx\ty\thits\n0\t20\t40\t2\n1\t40\t52\t1\n", 0), 0u) << out;
    EXPECT_EQ(out.substr(out.find("9\t200")), "9\t200\t160\t1\nrows 7, below 1, above 2\n");
}

TEST_F(LogReviewCommand, log_hits_refuses_other_kinds_unlogged_channels_and_odd_options)
{
    const std::string log = writeLog("run.log", 0x8, {{50, 60}});
    EXPECT_EQ(run({"log-hits", sample(), "REVLIM", log, "--channel", "4"}), 1);
    EXPECT_EQ(err, "tavo-cli: REVLIM is a Const8 entry; hit counts need a Normal, FiveByte or Signed table\n");
    EXPECT_EQ(run({"log-hits", sample(), "MAPTBL", log, "--channel", "2"}), 1);
    EXPECT_EQ(err, "tavo-cli: " + log + " did not log channel 2\n");
    EXPECT_EQ(run({"log-hits", sample(), "MAPTBL", log, "--channel", "custom"}), 1);
    EXPECT_EQ(err, "tavo-cli: " + log + " did not log the custom address\n");
    test::writeText(dir.file("short.log"), "abc");
    EXPECT_EQ(run({"log-hits", sample(), "MAPTBL", dir.file("short.log"), "--channel", "4"}), 1);
    EXPECT_EQ(run({"log-hits", sample(), "MAPTBL", log, "--channel", "9"}), 2);
    EXPECT_EQ(run({"log-hits", sample(), "MAPTBL", log}), 2);
    EXPECT_EQ(run({"log-hits", sample(), "MAPTBL", "--channel", "4"}), 2);
}

TEST_F(LogReviewCommand, log_hits_value_gives_a_second_channel_s_mean_min_and_max_at_each_point)
{
    // MAP (channel 4) at 10 (below), 20, 21, 30 (a tie: the lower x) for point 0, 31 for point 1, 200 for
    // point 9, 255 (above); the custom address beside it.
    const std::string log =
        writeLog("run.log", 0x108, {{10, 20, 21, 30, 31, 200, 255}, {50, 1, 1, 2, 7, 9, 100}});
    ASSERT_EQ(run({"log-hits", sample(), "MAPTBL", log, "--channel", "4", "--value", "custom", "--json"}), 0) << err;
    EXPECT_NE(out.find(R"("rows":7,"below":1,"above":1,"value":{"channel":"custom","title":"Custom","points":[)"
                       R"({"index":0,"rows":3,"mean":1.333,"min":1,"max":2},{"index":1,"rows":1,"mean":7,"min":7,"max":7},)"
                       R"({"index":2,"rows":0,"mean":null,"min":null,"max":null},)"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find(R"({"index":9,"rows":1,"mean":9,"min":9,"max":9}]}})"), std::string::npos) << out;

    ASSERT_EQ(run({"log-hits", sample(), "MAPTBL", log, "--channel", "4", "--value", "custom"}), 0) << err;
    EXPECT_EQ(out.substr(out.find("rows 7")),
              "rows 7, below 1, above 1\nvalue channel custom (Custom)\nindex\trows\tmean\tmin\tmax\n"
              "0\t3\t1.333\t1\t2\n1\t1\t7.000\t7\t7\n2\t0\t-\t-\t-\n3\t0\t-\t-\t-\n4\t0\t-\t-\t-\n"
              "5\t0\t-\t-\t-\n6\t0\t-\t-\t-\n7\t0\t-\t-\t-\n8\t0\t-\t-\t-\n9\t1\t9.000\t9\t9\n");

    ASSERT_EQ(run({"log-hits", sample(), "MAPTBL", log, "--channel", "4", "--value", "4", "--json"}), 0) << err;
    EXPECT_NE(out.find(R"({"index":0,"rows":3,"mean":23.667,"min":20,"max":30})"), std::string::npos)
        << "the x channel itself: " << out;
    EXPECT_EQ(run({"log-hits", sample(), "MAPTBL", log, "--channel", "4", "--value", "2"}), 1);
    EXPECT_EQ(err, "tavo-cli: " + log + " did not log channel 2\n");
    EXPECT_EQ(run({"log-hits", sample(), "MAPTBL", log, "--channel", "4", "--value", "0"}), 2);
}

}  // namespace
}  // namespace tavo
