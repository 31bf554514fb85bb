#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstring>
#include <filesystem>

#include "logging/LoggingConfig.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

std::int32_t int32At(const std::string& bytes, std::size_t at)
{
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);  // the file is little-endian, as this machine
    return value;
}

double doubleAt(const std::string& bytes, std::size_t at)
{
    double value = 0;
    std::memcpy(&value, bytes.data() + at, 8);
    return value;
}

TEST(LoggingConfigFile, a_missing_file_is_created_with_the_defaults_at_their_offsets)
{
    test::TempDir dir;
    LoggingConfig config;
    setLoggingDefaults(config);
    readLoggingConfig(config, dir.file("Logging.cfg"));
    const std::string bytes = test::readText(dir.file("Logging.cfg"));
    ASSERT_EQ(bytes.size(), 1356u);
    EXPECT_EQ(std::string(bytes.data()), "RPMs");
    EXPECT_EQ(int32At(bytes, 64), 143);
    EXPECT_EQ(bytes[68], 1);
    EXPECT_EQ(doubleAt(bytes, 72), 0.0078125);
    EXPECT_EQ(std::string(bytes.data() + 80), "Vehicle Speed");
    EXPECT_EQ(int32At(bytes, 80 + 64), 0x69);
    EXPECT_EQ(doubleAt(bytes, 80 + 72), 0.03125);
    EXPECT_EQ(std::string(bytes.data() + 7 * 80), "Rich/Lean");
    EXPECT_EQ(bytes[7 * 80 + 68], 0);
    EXPECT_EQ(std::string(bytes.data() + 1280), "87 Turbo II");
    EXPECT_EQ(int32At(bytes, 1344), 1);
    EXPECT_EQ(int32At(bytes, 1348), 1);
    EXPECT_EQ(int32At(bytes, 1352), 1);
    for (std::size_t i = 640; i < 1280; ++i)
        ASSERT_EQ(bytes[i], 0) << "reserved byte " << i;
}

#ifndef _WIN32  // a FIFO is POSIX
TEST(LoggingConfigFile, one_that_exists_but_cannot_be_read_keeps_the_defaults_and_is_not_replaced)
{
    test::TempDir dir;
    const std::string path = dir.file("Logging.cfg");
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);  // opening it to read would block
    LoggingConfig config;
    setLoggingDefaults(config);
    readLoggingConfig(config, path);
    EXPECT_TRUE(std::filesystem::is_fifo(path));
    EXPECT_EQ(config.nameText(), "87 Turbo II");
}
#endif

TEST(LoggingConfigFile, a_file_replaces_the_defaults_and_writes_back_byte_for_byte)
{
    test::TempDir dir;
    std::string bytes(1356, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    // Valid fields where the program reads them; arbitrary bytes elsewhere
    // (after the NULs, reserved) must survive unchanged.
    std::memcpy(bytes.data(), "Boost\0", 6);
    bytes[68] = 1, bytes[69] = bytes[70] = bytes[71] = 0;
    for (std::size_t ch = 1; ch < 8; ++ch) {
        bytes[ch * 80 + 5] = '\0';
        bytes[ch * 80 + 68] = 0, bytes[ch * 80 + 69] = bytes[ch * 80 + 70] = bytes[ch * 80 + 71] = 0;
    }
    std::memcpy(bytes.data() + 1280, "My Logger\0", 10);
    const std::int32_t port = 3, low = 2, high = 4;
    std::memcpy(bytes.data() + 1344, &port, 4);
    std::memcpy(bytes.data() + 1348, &low, 4);
    std::memcpy(bytes.data() + 1352, &high, 4);
    test::writeText(dir.file("Logging.cfg"), bytes);

    LoggingConfig config;
    setLoggingDefaults(config);
    readLoggingConfig(config, dir.file("Logging.cfg"));
    EXPECT_EQ(config.channels[0].titleText(), "Boost");
    EXPECT_TRUE(config.channels[0].word);
    EXPECT_EQ(config.nameText(), "My Logger");
    EXPECT_EQ(config.serial.port, 3);
    EXPECT_EQ(config.serial.lowSpeed, 2);
    EXPECT_EQ(config.serial.highSpeed, 4);
    EXPECT_EQ(encodeLoggingConfig(config), bytes);
}

TEST(LoggingConfigFile, a_short_file_fills_the_fields_it_reaches_and_keeps_the_defaults_after)
{
    LoggingConfig config;
    setLoggingDefaults(config);
    std::string bytes = encodeLoggingConfig(config).substr(0, 100);
    std::memcpy(bytes.data(), "Short\0", 6);
    decodeLoggingConfig(config, bytes);
    EXPECT_EQ(config.channels[0].titleText(), "Short");
    EXPECT_EQ(config.channels[1].titleText(), "Vehicle Speed") << "title bytes up to 100 equal the default";
    EXPECT_EQ(config.channels[1].location, 0x69);
    EXPECT_EQ(config.nameText(), "87 Turbo II");
    EXPECT_EQ(config.serial.port, 1);
}

TEST(LoggingConfigFile, texts_keep_63_characters_and_a_title_without_its_nul_is_cut)
{
    LoggingConfig config;
    config.channels[2].setTitle(std::string(100, 'x'));
    EXPECT_EQ(config.channels[2].titleText().size(), 63u);
    config.channels[2].title.fill('y');
    EXPECT_EQ(config.channels[2].titleText(), std::string(63, 'y'));
}

TEST(SerialSpeeds, choices_outside_1_to_4_fall_back_to_the_first)
{
    EXPECT_EQ(baudForSpeed(0, 1), 976);
    EXPECT_EQ(baudForSpeed(0, 4), 9600);
    EXPECT_EQ(baudForSpeed(1, 3), 62500);
    EXPECT_EQ(baudForSpeed(1, 4), 125000);
    EXPECT_EQ(baudForSpeed(0, 9), 976);
    EXPECT_EQ(baudForSpeed(1, 0), 7812);
    EXPECT_EQ(baudForSpeed(5, 2), 976);
}

}  // namespace
}  // namespace tavo
