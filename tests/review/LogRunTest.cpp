#include <gtest/gtest.h>

#include "logging/LogCsv.h"
#include "review/LogRunReader.h"
#include "review/ReviewLogs.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

using test::defaultTitles;
using test::knownLog;

std::vector<int> valuesOf(const RunChannel& channel)
{
    return {channel.values.begin(), channel.values.end()};
}

TEST(LogRun, an_unwrapped_log_gives_rows_1_to_writePos_oldest_first_at_row_times_the_period)
{
    const LogRun run = logRunOf(knownLog({0, 2, 8}, {{10, 20, 30}, {1, 2, 3}, {7, 8, 9}}), defaultTitles());
    ASSERT_EQ(run.channels.size(), 3u);
    EXPECT_EQ(run.channels[0].title, "RPMs");
    EXPECT_EQ(run.channels[1].title, "Throttle Position");
    EXPECT_EQ(run.channels[2].title, "Custom");
    EXPECT_EQ(run.channels[2].slot, kCustomSlot);
    EXPECT_EQ(valuesOf(run.channels[0]), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(valuesOf(run.channels[2]), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(run.seconds, (std::vector<double>{0.0, 0.062, 0.124}));
    EXPECT_FALSE(run.wrapped);
    EXPECT_EQ(run.times, RunTimes::Nominal);
    EXPECT_EQ(timeAxisText(run), "seconds, nominal: row x 62 ms");
}

TEST(LogRun, a_wrapped_log_starts_after_writePos_and_ends_on_it)
{
    LogFileContent log;
    log.channelMask = 1;
    log.samplePeriodMs = 125;
    log.writePos = 10;
    for (int row = 0; row < kRingRows; ++row)
        log.samples[static_cast<std::size_t>(row)][0] = static_cast<std::uint8_t>(row % 256);
    const LogRun run = logRunOf(log, defaultTitles());
    EXPECT_TRUE(run.wrapped);
    ASSERT_EQ(run.rowCount(), kRingRows);
    EXPECT_EQ(run.channels[0].values.front(), 11);
    EXPECT_EQ(run.channels[0].values[4084], 4095 % 256) << "ring row 4095";
    EXPECT_EQ(run.channels[0].values[4085], 0) << "then ring row 0";
    EXPECT_EQ(run.channels[0].values.back(), 10);
    EXPECT_DOUBLE_EQ(run.seconds.back(), 4095 * 0.125);
}

TEST(CsvRun, reads_back_what_log2csv_writes_with_nominal_times_and_exports_either_unchanged)
{
    LogChannels titles = defaultTitles();
    titles[2].setTitle("Boost, \"psi\"");
    const LogFileContent log = knownLog({0, 2, 8}, {{10, 20, 30}, {1, 2, 255}, {7, 8, 9}}, 250);
    const std::string csv = logCsv(log, titles, false);
    const LogRunRead read = readLogRun(csv, titles);
    ASSERT_TRUE(read.run) << read.problem;
    const LogRun& run = *read.run;
    ASSERT_EQ(run.channels.size(), 3u);
    EXPECT_EQ(run.channels[1].title, "Boost, \"psi\"");
    EXPECT_EQ(run.channels[1].slot, 2) << "its title is channel 3's";
    EXPECT_EQ(run.channels[2].slot, kCustomSlot);
    EXPECT_EQ(valuesOf(run.channels[1]), (std::vector<int>{1, 2, 255}));
    EXPECT_EQ(run.seconds, (std::vector<double>{0.0, 0.25, 0.5}));
    EXPECT_EQ(run.times, RunTimes::Nominal);
    EXPECT_EQ(run.periodMs, 250);
    EXPECT_EQ(runCsv(run), csv);
    EXPECT_EQ(runCsv(logRunOf(log, titles)), csv);
}

TEST(CsvRun, keeps_measured_times_holds_one_that_goes_back_and_takes_crlf_and_empty_lines)
{
    const LogRunRead read =
        readLogRun("row,seconds,Boost,Custom\r\n0,0.000,10,5\r\n1,0.070,11,6\r\n\r\n2,0.118,12,7\r\n", defaultTitles());
    ASSERT_TRUE(read.run) << read.problem;
    EXPECT_EQ(read.run->times, RunTimes::Measured);
    EXPECT_EQ(timeAxisText(*read.run), "seconds, measured");
    EXPECT_EQ(read.run->seconds, (std::vector<double>{0.0, 0.07, 0.118}));
    EXPECT_EQ(read.run->channels[0].slot, 0) << "a title no channel bears takes the next channel";
    EXPECT_EQ(valuesOf(read.run->channels[1]), (std::vector<int>{5, 6, 7}));

    const LogRunRead stepped = readLogRun("row,seconds,RPMs\n0,1.000,1\n1,0.500,2\n2,1.200,3\n", defaultTitles());
    ASSERT_TRUE(stepped.run) << "a clock that stepped back does not make the run unreadable";
    EXPECT_EQ(stepped.run->seconds, (std::vector<double>{1.0, 1.0, 1.2}));
    EXPECT_EQ(timeAxisText(*stepped.run), "seconds, measured (1 going back held at the row before)");

    const LogRunRead empty = readLogRun("row,seconds\n", defaultTitles());
    ASSERT_TRUE(empty.run) << "Save Current Log before any logging";
    EXPECT_EQ(empty.run->rowCount(), 0);
}

TEST(CsvRun, channel_columns_take_the_slots_their_titles_name)
{
    const LogChannels titles = defaultTitles();
    EXPECT_EQ(slotsForTitles({"MAP", "Renamed", "Custom"}, titles), (std::vector<int>{3, 4, 8}));
    EXPECT_EQ(slotsForTitles({"Custom", "RPMs"}, titles), (std::vector<int>{0, 1}))
        << "Custom only as the last column; a later column never goes back to an earlier channel";
    EXPECT_TRUE(slotsForTitles(std::vector<std::string>(9, "x"), titles).empty());
}

TEST(CsvRun, a_channel_renamed_since_the_file_was_written_never_makes_it_unreadable)
{
    // RPMs has moved from channel 1 to 8 since: the columns after it still need channels.
    LogChannels titles = defaultTitles();
    titles[0].setTitle("Engine Speed");
    titles[7].setTitle("RPMs");
    EXPECT_EQ(slotsForTitles({"RPMs", "MAP", "Custom"}, titles), (std::vector<int>{0, 3, 8}));
    EXPECT_EQ(slotsForTitles({"MAP", "RPMs"}, titles), (std::vector<int>{3, 7}));
    EXPECT_TRUE(readCsvRun("row,seconds,RPMs,MAP\n0,0,1,2\n", titles).run);
}

TEST(CsvRun, a_log_file_whose_header_spells_row_seconds_is_read_as_the_log_file)
{
    LogFileContent log = knownLog({0}, {{7, 8, 9}});
    std::string bytes = encodeLogFile(log);
    bytes.replace(0, 11, "row,seconds");
    const LogRunRead read = readLogRun(bytes, defaultTitles());
    ASSERT_TRUE(read.run) << read.problem;
    const LogRun asLog = logRunOf(*decodeLogFile(bytes), defaultTitles());
    ASSERT_EQ(read.run->channels.size(), asLog.channels.size());
    EXPECT_EQ(read.run->rowCount(), asLog.rowCount());
    EXPECT_EQ(read.run->channels.back().values, asLog.channels.back().values);
    EXPECT_FALSE(readLogRun(bytes.substr(1), defaultTitles()).run) << "one byte short it is neither";
    // Found by fuzzing: with "row,seconds," and no line break anywhere the
    // bytes are also a CSV of a header alone, and were read as one.
    bytes[11] = ',';
    ASSERT_EQ(bytes.find('\n'), std::string::npos);
    EXPECT_EQ(readLogRun(bytes, defaultTitles()).run->rowCount(), asLog.rowCount());
    EXPECT_GT(asLog.rowCount(), 0);
}

TEST(CsvRun, refuses_what_tavo_did_not_write_saying_the_line_and_why)
{
    const LogChannels titles = defaultTitles();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"hello", "It is neither a TaVO log file (65548 bytes, this one 5) nor a CSV that TaVO wrote."},
        {"row,seconds,RPMs\n0,0.000,256\n", "Line 2: the value \"256\" of RPMs is not a byte (0 to 255)."},
        {"row,seconds,RPMs\n0,0.000\n", "Line 2: it has 2 fields, the header 3."},
        {"row,seconds,RPMs\n-1,0.000,1\n", "Line 2: the row \"-1\" is not a whole number."},
        {"row,seconds,RPMs\n0,soon,1\n", "Line 2: the seconds \"soon\" are not a number."},
        {"row,seconds,\"RPMs\n", "It is not a CSV that TaVO wrote: the first line does not start with \"row,seconds\"."},
        {"row,seconds,1,2,3,4,5,6,7,8,9\n", "It has more channel columns than a log holds (eight channels and Custom)."},
    };
    for (const auto& [bytes, problem] : cases) {
        const LogRunRead read = readLogRun(bytes, titles);
        EXPECT_FALSE(read.run) << bytes;
        EXPECT_EQ(read.problem, problem) << bytes;
    }
}

TEST(OpenLog, reads_the_chosen_file_and_says_why_one_cannot_be_read)
{
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    prompts.openNames = {std::nullopt, dir.file("none.log"), dir.file("run.log")};
    test::writeText(dir.file("run.log"), encodeLogFile(knownLog({3}, {{90, 91}})));

    EXPECT_FALSE(openLogForReview(prompts, dir.path().string(), defaultTitles()));
    EXPECT_TRUE(prompts.messages.empty()) << "cancelled";
    EXPECT_FALSE(openLogForReview(prompts, dir.path().string(), defaultTitles()));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Unable to read the log file:\n" + dir.file("none.log") + "\nNo such file or folder.");
    EXPECT_EQ(prompts.messages[0].title, "TaVO Error");
    const auto opened = openLogForReview(prompts, dir.path().string(), defaultTitles());
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->path, dir.file("run.log"));
    EXPECT_EQ(valuesOf(opened->run.channels[0]), (std::vector<int>{90, 91}));
    EXPECT_EQ(prompts.openRequests[0].title, "Open Log");
    EXPECT_EQ(prompts.openRequests[0].pattern, "*.log *.csv");
    EXPECT_EQ(prompts.openRequests[0].initialPath, dir.path().string());
    openLogForReview(prompts, dir.file("no-folder"), defaultTitles());
    EXPECT_EQ(prompts.openRequests.back().initialPath, "") << "a folder that is not there is not made";
}

}  // namespace
}  // namespace tavo
