#include <gtest/gtest.h>

#include <cstdlib>

#include "logging/LogCsv.h"
#include "logging/LogFile.h"
#include "logging/LogSaving.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

const TimeOfDay kTime{14, 25, 30};

// A ring logged `ticks` times from start-up: row r holds r % 256 in
// channel 1, the custom slot 200.
AcquisitionState loggedState(int ticks)
{
    AcquisitionState state;
    state.channelMask = 0b101 | kCustomBit;
    state.samplePeriodMs = 250;
    for (int t = 1; t <= ticks; ++t) {
        state.writePos = t % kRingRows;
        state.samples[static_cast<std::size_t>(state.writePos)][0] = static_cast<std::uint8_t>(t % 256);
        state.samples[static_cast<std::size_t>(state.writePos)][2] = 7;
        state.samples[static_cast<std::size_t>(state.writePos)][kCustomSlot] = 200;
    }
    state.sampleCount = ticks;
    return state;
}

TEST(LogFile, a_save_before_any_logging_holds_0_the_mask_the_period_and_65536_zero_bytes)
{
    test::TempDir dir;
    AcquisitionState state;
    state.channelMask = 0x1FF;
    const LogSave save = saveLogFile(logContentOf(state), dir.file("logs"), kTime);
    ASSERT_TRUE(save.status.ok()) << save.status.reason();
    EXPECT_EQ(test::withSlashes(save.path), test::withSlashes(dir.file("logs") + "/142530.log"));
    std::vector<std::uint8_t> golden(65548, 0);
    golden[4] = 0xFF;
    golden[5] = 0x01;
    golden[8] = 125;
    EXPECT_EQ(test::readBytes(save.path), golden);
}

TEST(LogFile, a_save_during_logging_reads_back_and_never_replaces_an_earlier_file)
{
    test::TempDir dir;
    const AcquisitionState state = loggedState(300);
    const std::string first = saveLogFile(logContentOf(state), dir.path().string(), kTime).path;
    const std::string firstBytes = test::readText(first);
    const auto decoded = decodeLogFile(firstBytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->writePos, 300);
    EXPECT_EQ(decoded->channelMask, 0x105u);
    EXPECT_EQ(decoded->samplePeriodMs, 250);
    EXPECT_EQ(decoded->samples, state.samples);
    EXPECT_FALSE(decodeLogFile(firstBytes.substr(1)));

    const AcquisitionState later = loggedState(301);
    EXPECT_EQ(saveLogFile(logContentOf(later), dir.path().string(), kTime).path, dir.file("142530-2.log"));
    EXPECT_EQ(saveLogFile(logContentOf(later), dir.path().string(), kTime).path, dir.file("142530-3.log"));
    EXPECT_EQ(test::readText(first), firstBytes);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"142530-2.log", "142530-3.log", "142530.log"}));
}

TEST(LogFile, a_folder_that_cannot_be_made_is_reported_with_the_path_and_nothing_is_written)
{
    test::TempDir dir;
    test::writeText(dir.file("file"), "x");
    test::ScriptedPrompts prompts;
    const AcquisitionState state = loggedState(10);
    const AcquisitionState before = state;
    EXPECT_FALSE(saveRingToLogFolder(state, dir.file("file") + "/TaVO Logs", kTime, prompts));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(test::withSlashes(prompts.messages[0].text),
              test::withSlashes("Unable to save the log file:\n" + dir.file("file") +
                                "/TaVO Logs/142530.log\nA part of the path is not a folder."));
    EXPECT_EQ(prompts.messages[0].title, "TaVO Error");
    EXPECT_EQ(state.samples, before.samples);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"file"});

    const auto saved = saveRingToLogFolder(state, dir.file("logs"), kTime, prompts);
    ASSERT_TRUE(saved);
    EXPECT_EQ(savedLogText(*saved), "Saved 142530.log in " + dir.file("logs"));
}

TEST(LogCsv, rows_run_oldest_first_before_and_after_a_wrap_with_the_logged_titles)
{
    LoggingConfig config;
    setLoggingDefaults(config);
    config.channels[2].setTitle("Throttle, %");
    const std::string unwrapped = logCsv(logContentOf(loggedState(3)), config.channels, false);
    EXPECT_EQ(unwrapped,
              "row,seconds,RPMs,\"Throttle, %\",Custom\n"
              "0,0.000,1,7,200\n"
              "1,0.250,2,7,200\n"
              "2,0.500,3,7,200\n");
    const LogFileContent wrapped = logContentOf(loggedState(4096 + 2));
    EXPECT_TRUE(ringLooksWrapped(wrapped));
    EXPECT_FALSE(ringLooksWrapped(logContentOf(loggedState(4095))));
    const std::string csv = logCsv(wrapped, config.channels, true);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4097);
    EXPECT_EQ(csv.substr(csv.find('\n') + 1, 16), "0,0.000,3,7,200\n") << "the row after writePos 2 is the oldest";
    EXPECT_EQ(csv.substr(csv.size() - 22), "4095,1023.750,2,7,200\n");
    EXPECT_EQ(logCsv(LogFileContent{}, config.channels, false), "row,seconds\n") << "nothing logged: the header";
}

TEST(SaveCurrentLog, the_chosen_filter_says_log_or_csv_and_a_bare_name_gets_its_extension)
{
    test::TempDir dir;
    LoggingConfig config;
    setLoggingDefaults(config);
    const AcquisitionState state = loggedState(2);
    test::ScriptedPrompts prompts;
    prompts.saveNames = {dir.file("run"), dir.file("run")};
    prompts.saveFilters = {0, 1};
    EXPECT_TRUE(saveCurrentLog(state, config.channels, dir.file("logs"), kTime, prompts));
    EXPECT_TRUE(saveCurrentLog(state, config.channels, dir.file("logs"), kTime, prompts));
    EXPECT_EQ(test::readText(dir.file("run.log")), encodeLogFile(logContentOf(state)));
    EXPECT_EQ(test::readText(dir.file("run.csv")).substr(0, 35), "row,seconds,RPMs,Throttle Position,");
    ASSERT_EQ(prompts.saveRequests.size(), 2u);
    EXPECT_EQ(test::withSlashes(prompts.saveRequests[0].initialPath),
              test::withSlashes(dir.file("logs") + "/142530.log"));
    EXPECT_EQ(prompts.saveRequests[0].moreFilters[0].pattern, "*.csv");
    EXPECT_TRUE(prompts.saveRequests[0].confirmReplace);
    EXPECT_FALSE(saveCurrentLog(state, config.channels, dir.file("logs"), kTime, prompts)) << "cancelled";
    EXPECT_TRUE(prompts.messages.empty());
}

#ifndef _WIN32  // the desktop's folders; Windows asks the system (LogPlaceWindowsTest)
TEST(LogFolder, is_tavo_logs_in_the_desktops_documents_folder_else_in_home_documents)
{
    test::TempDir dir;
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", dir.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    EXPECT_EQ(defaultLogFolder(), dir.file("Documents") + "/TaVO Logs");
    std::filesystem::create_directories(dir.file("config"));
    test::writeText(dir.file("config") + "/user-dirs.dirs",
                    "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                    "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(documentsFolder(), dir.file("Dokumente"));
    ::setenv("HOME", oldHome.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
}
#endif

}  // namespace
}  // namespace tavo
