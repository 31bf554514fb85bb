#include <gtest/gtest.h>

#include <QImage>
#include <csignal>
#include <fstream>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "logging/LogFile.h"
#include "logging/LoggingConfig.h"
#include "support/CliRun.h"
#include "support/SimProcess.h"

namespace tavo {
namespace {

// Logs three ticks from a simulated ECM whose pages are known: tick k sees
// page k (one page per sync check).
class LogCommand : public test::CliRun {
protected:
    std::string config;
    std::unique_ptr<test::SimProcess> sim;

    void SetUp() override
    {
        CliRun::SetUp();
        LoggingConfig defaults;
        setLoggingDefaults(defaults);
        defaults.serial = {1, 1, 4};
        config = dir.file("Logging.cfg");
        ASSERT_TRUE(writeLoggingConfig(defaults, config).ok());
        std::vector<std::uint8_t> frames;
        for (int k = 0; k < 3; ++k) {
            std::vector<std::uint8_t> page(256, 0);
            page[0x8F] = static_cast<std::uint8_t>(k + 1);  // RPMs: (k + 1) x 256 x 0.0078125 = 2 (k + 1)
            page[0x98] = static_cast<std::uint8_t>(10 * (k + 1));
            page[0x41] = static_cast<std::uint8_t>(100 + k);
            frames.insert(frames.end(), page.begin(), page.end());
        }
        test::writeBytes(dir.file("frames.bin"), frames);
        sim = std::make_unique<test::SimProcess>(std::vector<std::string>{"--frames", dir.file("frames.bin")});
    }
};

TEST_F(LogCommand, logs_the_ticks_saves_the_ring_and_says_so_in_json)
{
    ASSERT_EQ(run({"log", "--device", sim->device(), "--ticks", "3", "--period-ms", "1", "--channels", "1,3,custom",
                   "--custom", "41", "--config", config, "--out", dir.file("run.log"), "--json"}),
              0)
        << err;
    const std::string prefix = R"({"path":")" + dir.file("run.log") +
                               R"(","ticks":3,"answeredTicks":3,"missedTicks":0,"syncedTicks":3,"queries":20,)";
    EXPECT_EQ(out.substr(0, prefix.size()), prefix) << out << "\n(the last row's check asks twice more)";
    EXPECT_NE(out.find(R"("writePos":3,"channelMask":261,"stoppedEarly":false,"ecmStopped":false,"replyMs":{"median":)"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find(R"("queriesPerSecond":)"), std::string::npos);
    EXPECT_NE(out.find(R"(,"count":20}})"), std::string::npos) << "every exchange was timed: " << out;

    const auto log = decodeLogFile(test::readText(dir.file("run.log")));
    ASSERT_TRUE(log);
    EXPECT_EQ(log->samplePeriodMs, 1);
    EXPECT_EQ(log->samples[3][0], 6);
    EXPECT_EQ(log->samples[3][2], 30);
    EXPECT_EQ(log->samples[3][kCustomSlot], 102);

    ASSERT_EQ(run({"log2csv", dir.file("run.log"), "--config", config}), 0) << err;
    EXPECT_EQ(out,
              "row,seconds,RPMs,Throttle Position,Custom\n"
              "0,0.000,2,10,100\n"
              "1,0.001,4,20,101\n"
              "2,0.002,6,30,102\n");
    ASSERT_EQ(run({"log2csv", dir.file("run.log"), "--out", dir.file("run.csv")}), 0) << err;
    EXPECT_EQ(test::readText(dir.file("run.csv")).substr(0, 42), "row,seconds,RPMs,Throttle Position,Custom\n")
        << "the defaults without a Logging.cfg here";

    ASSERT_EQ(run({"log-graph", dir.file("run.log"), "--png", dir.file("run.png")}), 0) << err;
    EXPECT_EQ(out, "wrote the strip chart of the last 3 rows to " + dir.file("run.png") + "\n");
    const QImage chart(QString::fromStdString(dir.file("run.png")));
    EXPECT_EQ(chart.size(), QSize(384, 258));
    EXPECT_EQ(chart.pixel(382, 256 - 20) | 0xFF000000U, qRgb(0, 255, 0)) << "Throttle, pen 3: the last segment from 20";
}

TEST_F(LogCommand, writes_to_the_log_folder_by_default_and_refuses_what_is_no_log)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", dir.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", dir.file("none").c_str(), 1);
    const int code = run({"log", "--device", sim->device(), "--seconds", "0.3", "--config", config});
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(code, 0) << err;
    EXPECT_EQ(out.rfind(dir.file("Documents") + "/TaVO Logs/", 0), 0u) << out;
    EXPECT_EQ(out.substr(out.size() - 5), ".log\n");

    test::writeText(dir.file("short.log"), "abc");
    EXPECT_EQ(run({"log2csv", dir.file("short.log")}), 1);
    EXPECT_EQ(err, "tavo-cli: " + dir.file("short.log") + " is not a log file: a log file has 65548 bytes, this one 3\n");
    EXPECT_EQ(run({"log-graph", dir.file("short.log"), "--png", dir.file("x.png")}), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.png")));
}

TEST_F(LogCommand, says_what_failed_and_refuses_odd_options_and_an_unwritable_out_before_connecting)
{
    EXPECT_EQ(run({"log", "--device", dir.file("no-such-port"), "--ticks", "1", "--config", config}), 1);
    EXPECT_EQ(err.substr(0, err.find('\n')), "There is no serial device " + dir.file("no-such-port") + ".");
    EXPECT_EQ(run({"log", "--device", dir.file("no-such-port"), "--ticks", "1", "--config", config, "--out",
                   dir.file("missing/run.log")}),
              1);
    EXPECT_EQ(err, "tavo-cli: unable to write the log file " + dir.file("missing/run.log") +
                       ": No such file or folder.\n")
        << "said before any connection is tried";
    EXPECT_EQ(run({"log", "--device", sim->device(), "--ticks", "1", "--seconds", "1"}), 2);
    EXPECT_EQ(run({"log", "--device", sim->device(), "--ticks", "1", "--channels", "1,9"}), 2);
    EXPECT_EQ(run({"log", "--device", sim->device(), "--ticks", "1", "--custom", "1ff"}), 2);
    EXPECT_EQ(run({"log-graph", dir.file("a.log"), "--png", dir.file("a.png"), "--ticks", "0"}), 2);
    ASSERT_EQ(run({"log", "--help"}), 0);
    EXPECT_EQ(out.rfind("log as the Data Logging dialog does", 0), 0u) << out;
    EXPECT_NE(out.find("--device PATH"), std::string::npos) << out;
}

TEST_F(LogCommand, takes_the_speeds_of_the_command_line_over_those_of_the_configuration)
{
    // The configuration's 125000 baud would go unheard by this ECM.
    test::SimProcess slow({"--frames", dir.file("frames.bin"), "--baud", "9600"});
    ASSERT_EQ(run({"log", "--device", slow.device(), "--ticks", "2", "--period-ms", "1", "--config", config,
                   "--low-speed", "2", "--high-speed", "2", "--out", dir.file("slow.log")}),
              0)
        << err;
    const auto log = decodeLogFile(test::readText(dir.file("slow.log")));
    ASSERT_TRUE(log);
    EXPECT_EQ(log->writePos, 2);
    EXPECT_EQ(run({"log", "--device", slow.device(), "--ticks", "1", "--high-speed", "2"}), 2)
        << "the two speeds go together";
}

TEST_F(LogCommand, an_ecm_that_stops_answering_ends_the_run_which_saves_what_it_got_and_exits_1)
{
    test::SimProcess mute({"--frames", dir.file("frames.bin"), "--mute-after", "40"});
    EXPECT_EQ(run({"log", "--device", mute.device(), "--seconds", "20", "--period-ms", "1", "--config", config,
                   "--out", dir.file("mute.log"), "--csv", dir.file("mute.csv"), "--json"}),
              1);
    EXPECT_NE(err.find("tavo-cli: the ECM stopped answering at "), std::string::npos) << err;
    EXPECT_NE(out.find(R"("ecmStopped":true)"), std::string::npos) << out;
    const auto log = decodeLogFile(test::readText(dir.file("mute.log")));
    ASSERT_TRUE(log);
    EXPECT_GT(log->writePos, 0) << "the rows from before the silence are kept";
    EXPECT_NE(err.find(" " + std::to_string(log->writePos) + " rows saved"), std::string::npos) << err;
    // The CSV of the run has the times its rows were sampled.
    const std::string csv = test::readText(dir.file("mute.csv"));
    EXPECT_EQ(csv.rfind("row,seconds,RPMs,", 0), 0u);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), log->writePos + 1);
}

TEST_F(LogCommand, log2csv_shows_control_characters_of_titles_and_fails_when_its_output_cannot_be_written)
{
    LoggingConfig crafted;
    setLoggingDefaults(crafted);
    crafted.channels[0].setTitle("\x1B]0;owned\x07RPM");
    crafted.channels[1].setTitle("Sp\xEB\x9B");  // Latin-1, with a C1 control
    ASSERT_TRUE(writeLoggingConfig(crafted, dir.file("crafted.cfg")).ok());
    LogFileContent log;
    log.writePos = 1;
    log.channelMask = 0b11;
    log.samplePeriodMs = -1;  // 0xFFFFFFFF: read as unsigned, never negative
    log.samples[1] = SampleRow{7, 8};
    test::writeText(dir.file("two.log"), encodeLogFile(log));
    ASSERT_EQ(run({"log2csv", dir.file("two.log"), "--config", dir.file("crafted.cfg")}), 0) << err;
    EXPECT_EQ(out, "row,seconds,^[]0;owned^GRPM,Sp\xC3\xAB?\n0,0.000,7,8\n");

    std::ofstream full("/dev/full");
    std::ostringstream errors;
    EXPECT_EQ(runCli({"log2csv", dir.file("two.log")}, full, errors), 1);
    EXPECT_EQ(errors.str().rfind("tavo-cli: unable to write the output", 0), 0u) << errors.str();
}

TEST_F(LogCommand, ctrl_c_ends_the_run_early_and_saves_it)
{
    const std::string cli = TAVO_CLI_PATH;
    const std::string command = "exec " + cli + " log --device " + sim->device() +
                                " --seconds 60 --period-ms 10 --channels 3 --config " + config + " --out " +
                                dir.file("cut.log") + " > " + dir.file("out.txt") + " 2>&1";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::usleep(1500 * 1000);
    ::kill(child, SIGINT);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << test::readText(dir.file("out.txt"));
    EXPECT_EQ(WEXITSTATUS(status), 0) << test::readText(dir.file("out.txt"));
    const auto log = decodeLogFile(test::readText(dir.file("cut.log")));
    ASSERT_TRUE(log);
    EXPECT_GT(log->writePos, 3);
}

TEST_F(LogCommand, ctrl_c_while_connecting_logs_nothing_and_exits_1)
{
    test::SimProcess silent({"--silent"});
    const std::string command = "exec " + std::string(TAVO_CLI_PATH) + " log --device " + silent.device() +
                                " --seconds 60 --config " + config + " --out " + dir.file("none.log") + " > " +
                                dir.file("out.txt") + " 2>&1";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::usleep(1500 * 1000);  // the connection procedure to a silent ECM lasts some five seconds
    ::kill(child, SIGINT);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string said = test::readText(dir.file("out.txt"));
    ASSERT_TRUE(WIFEXITED(status)) << said;
    EXPECT_EQ(WEXITSTATUS(status), 1) << said;
    EXPECT_NE(said.find("nothing logged"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.log")));
}

TEST_F(LogCommand, an_ecm_answering_badly_ends_the_run_saying_so_with_the_counts)
{
    // Six of every seven requests answered: no tick of twelve requests gets through.
    test::SimProcess bad({"--frames", dir.file("frames.bin"), "--drop-every", "7"});
    EXPECT_EQ(run({"log", "--device", bad.device(), "--seconds", "60", "--period-ms", "1", "--config", config,
                   "--out", dir.file("bad.log")}),
              1);
    EXPECT_NE(err.find("tavo-cli: the ECM has been answering badly since "), std::string::npos) << err;
    EXPECT_NE(err.find("requests answered"), std::string::npos) << err;
    EXPECT_EQ(err.find("stopped answering"), std::string::npos) << err;
    EXPECT_EQ(err.find("-0.0"), std::string::npos) << err;
}

}  // namespace
}  // namespace tavo
