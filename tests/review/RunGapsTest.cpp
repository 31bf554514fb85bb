#include <gtest/gtest.h>

#include "review/LogRunReader.h"
#include "review/ReviewLogs.h"
#include "review/RunGaps.h"

namespace tavo {
namespace {

std::vector<double> steady(int rows, double step, double from = 0)
{
    std::vector<double> seconds;
    for (int k = 0; k < rows; ++k)
        seconds.push_back(from + k * step);
    return seconds;
}

TEST(RunGaps, a_steady_run_has_none_however_slow)
{
    EXPECT_TRUE(findGaps(steady(200, 0.125)).empty());
    EXPECT_TRUE(findGaps(steady(20, 2.0)).empty()) << "a slow rate is no gap";
    EXPECT_TRUE(findGaps({}).empty());
}

TEST(RunGaps, one_long_silence_is_one_gap_between_the_rows_either_side)
{
    std::vector<double> seconds = steady(50, 0.1);
    const std::vector<double> after = steady(50, 0.1, seconds.back() + 43.0);
    seconds.insert(seconds.end(), after.begin(), after.end());
    const std::vector<RunGap> gaps = findGaps(seconds);
    ASSERT_EQ(gaps.size(), 1u);
    EXPECT_EQ(gaps[0].before, 49);
    EXPECT_NEAR(gaps[0].seconds, 43.0, 1e-9);
    EXPECT_EQ(gapBeside(gaps, 49), gaps[0]);
    EXPECT_EQ(gapBeside(gaps, 50), gaps[0]);
    EXPECT_FALSE(gapBeside(gaps, 48));
    EXPECT_FALSE(gapBeside(gaps, 51));
    const GapTotal total = gapTotal(gaps);
    EXPECT_EQ(total.count, 1);
    EXPECT_NEAR(total.seconds, 43.0, 1e-9);
}

TEST(RunGaps, irregular_steps_need_five_medians_and_half_a_second)
{
    // Steps of 0.05 to 0.15 s: 0.7 s is more than five medians (0.1 s) and
    // half a second; 0.45 s is five medians but short of half a second.
    std::vector<double> seconds{0};
    for (const double step : {0.05, 0.15, 0.1, 0.08, 0.12, 0.7, 0.1, 0.06, 0.45, 0.14, 0.1})
        seconds.push_back(seconds.back() + step);
    const std::vector<RunGap> gaps = findGaps(seconds);
    ASSERT_EQ(gaps.size(), 1u);
    EXPECT_EQ(gaps[0].before, 5);
    // A run at one row in two seconds: a four-second step is only two medians.
    EXPECT_TRUE(findGaps({0, 2, 4, 6, 10, 12}).empty());
}

TEST(RunGaps, two_rows_have_no_usual_step_to_measure_against)
{
    EXPECT_TRUE(findGaps({0, 60}).empty());
    EXPECT_TRUE(findGaps({5}).empty());
}

TEST(RunGaps, a_clock_that_goes_back_makes_no_gap_and_no_negative_length)
{
    std::vector<double> seconds = steady(20, 0.1);
    seconds.push_back(-30);  // the clock set back
    const std::vector<double> later = steady(20, 0.1, -29.9);
    seconds.insert(seconds.end(), later.begin(), later.end());
    EXPECT_TRUE(findGaps(seconds).empty());

    // As the reader keeps them: held at the row before, then a real silence.
    const LogRunRead read = readLogRun(
        "row,seconds,Boost\n0,0.0,1\n1,0.1,2\n2,0.05,3\n3,0.2,4\n4,0.3,5\n5,9.3,6\n6,9.4,7\n", test::defaultTitles());
    ASSERT_TRUE(read.run) << read.problem;
    EXPECT_EQ(read.run->heldTimes, 1);
    ASSERT_EQ(read.run->gaps.size(), 1u);
    EXPECT_EQ(read.run->gaps[0].before, 4);
    EXPECT_NEAR(read.run->gaps[0].seconds, 9.0, 1e-9);
}

TEST(RunGaps, only_measured_times_have_gaps)
{
    const LogRunRead nominal = readLogRun("row,seconds,Boost\n0,0.000,1\n1,0.125,2\n2,0.250,3\n30,3.750,4\n",
                                          test::defaultTitles());
    ASSERT_TRUE(nominal.run) << nominal.problem;
    EXPECT_EQ(nominal.run->times, RunTimes::Nominal);
    EXPECT_TRUE(nominal.run->gaps.empty());
    EXPECT_TRUE(logRunOf(test::knownLog({0}, {{1, 2, 3, 4}}), test::defaultTitles()).gaps.empty());
}

TEST(LogRunAxis, a_log_saved_at_fastest_counts_rows_and_says_so_while_a_fixed_rate_keeps_nominal_seconds)
{
    const LogRun fastest = logRunOf(test::knownLog({0}, {{10, 20, 30}}, 1), test::defaultTitles());
    EXPECT_EQ(fastest.times, RunTimes::Rows);
    EXPECT_EQ(fastest.seconds, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(timeAxisText(fastest), "row: logged at Fastest, the file holds no times");
    EXPECT_EQ(runTimeText(fastest, 1), "row 2");

    const LogRun fixed = logRunOf(test::knownLog({0}, {{10, 20, 30}}, 125), test::defaultTitles());
    EXPECT_EQ(fixed.times, RunTimes::Nominal);
    EXPECT_EQ(timeAxisText(fixed), "seconds, nominal: row x 125 ms");
    EXPECT_EQ(runTimeText(fixed, 2), "0.250 s");
}

}  // namespace
}  // namespace tavo
