#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/StartOptions.h"

namespace tavo {
namespace {

TEST(StartOptions, an_image_and_the_flags_are_taken_and_a_double_dash_ends_the_options)
{
    StartOptions options = parseStartOptions({"cal.bin"});
    EXPECT_EQ(options.imagePath, "cal.bin");
    EXPECT_FALSE(options.help || options.version);
    EXPECT_TRUE(options.error.empty());

    options = parseStartOptions({"-h", "--version", "--", "--odd name.bin"});
    EXPECT_TRUE(options.help);
    EXPECT_TRUE(options.version);
    EXPECT_EQ(options.imagePath, "--odd name.bin");
    EXPECT_TRUE(options.error.empty()) << options.error;
}

TEST(StartOptions, an_unknown_option_a_second_image_and_a_value_on_a_flag_are_refused)
{
    EXPECT_EQ(parseStartOptions({"--bogus"}).error, "unknown option --bogus");
    EXPECT_EQ(parseStartOptions({"a.bin", "b.bin"}).error, "one image at a time: b.bin");
    EXPECT_EQ(parseStartOptions({"--version=2"}).error, "--version takes no value");
}

TEST(StartOptions, the_link_options_take_a_device_or_the_simulated_ecm_but_not_both)
{
    StartOptions options = parseStartOptions({"--serial-device", "/dev/ttyS0", "cal.bin"});
    EXPECT_EQ(options.serialDevice, "/dev/ttyS0");
    EXPECT_EQ(options.imagePath, "cal.bin");
    EXPECT_TRUE(parseStartOptions({"--simulated-ecm"}).simulatedEcm);
    EXPECT_EQ(parseStartOptions({"--serial-device"}).error, "--serial-device needs a value (DEVICE)");
    EXPECT_EQ(parseStartOptions({"--simulated-ecm", "--serial-device=/dev/ttyS0"}).error,
              "--simulated-ecm and --serial-device exclude each other");
}

TEST(StartOptions, help_lists_every_option_on_a_line_of_its_own)
{
    const std::string help = startHelpText();
    EXPECT_EQ(help.rfind("usage: tavo [OPTION]... [IMAGE]\n", 0), 0u);
    for (const StartOption& option : startOptions()) {
        std::istringstream lines(help);
        std::string line;
        bool found = false;
        while (std::getline(lines, line))
            found = found || (line.find(option.name) != std::string::npos &&
                              line.find(option.help) != std::string::npos);
        EXPECT_TRUE(found) << option.name;
    }
    EXPECT_EQ(startVersionText().rfind("tavo ", 0), 0u);
}

}  // namespace
}  // namespace tavo
