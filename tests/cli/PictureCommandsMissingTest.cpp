// tavo-cli built without Qt: the commands that draw PNG pictures say so and
// write nothing.
#include <filesystem>

#include "logging/LogFile.h"
#include "support/CliRun.h"

namespace tavo {
namespace {

using TavoCliWithoutQt = test::CliRun;

TEST_F(TavoCliWithoutQt, graph_and_log_graph_say_they_need_qt_and_write_no_picture)
{
    EXPECT_EQ(run({"graph", sample(), "WOTTBL", "--png", dir.file("graph.png")}), 1);
    EXPECT_EQ(err, "tavo-cli: graph draws with Qt, which this build of tavo-cli does not have; "
                   "use a build with Qt (TAVO_GUI)\n");
    test::writeText(dir.file("run.log"), encodeLogFile(LogFileContent{}));
    EXPECT_EQ(run({"log-graph", dir.file("run.log"), "--png", dir.file("chart.png")}), 1);
    EXPECT_NE(err.find("log-graph draws with Qt"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("graph.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("chart.png")));
    EXPECT_EQ(run({"info", sample()}), 0) << "the rest of tavo-cli works";
}

}  // namespace
}  // namespace tavo
