// tavo-cli built without a serial line: the link commands fail at once and
// say why, instead of waiting for an ECM that cannot answer.
#include "support/CliRun.h"

namespace tavo {
namespace {

using TavoCliWithoutSerialLine = test::CliRun;

TEST_F(TavoCliWithoutSerialLine, ram_log_and_link_check_say_the_build_has_no_serial_line_and_save_nothing)
{
    const std::string reason = "tavo-cli: this build of TaVO has no serial line "
                               "(it was built with TAVO_SERIAL_LINE off)\n";
    EXPECT_EQ(run({"ram", "--device", "COM5"}), 1);
    EXPECT_EQ(err, reason);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(run({"log", "--device", "COM5", "--ticks", "3", "--out", dir.file("run.log")}), 1);
    EXPECT_EQ(err, reason);
    EXPECT_FALSE(std::filesystem::exists(dir.file("run.log")));
    EXPECT_EQ(run({"link-check", "--device", "COM5"}), 1);
    EXPECT_EQ(err, reason);
    EXPECT_EQ(run({"ram"}), 2) << "a usage error is still one";
}

}  // namespace
}  // namespace tavo
