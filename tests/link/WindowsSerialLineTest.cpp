// The Windows serial line: COM port names, the reasons a name is no port,
// and, on a COM port that tests/WineComPortTest.sh links to the simulated
// ECM, the line settings, the bounded wait and a device that goes away.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "link/WindowsSerialLine.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

using namespace std::chrono_literals;

TEST(WindowsPortName, turns_com_port_names_into_the_device_form_and_keeps_other_names)
{
    EXPECT_EQ(windowsPortName("COM5"), R"(\\.\COM5)");
    EXPECT_EQ(windowsPortName("com12:"), R"(\\.\COM12)");
    EXPECT_EQ(windowsPortName("Com007"), R"(\\.\COM7)");
    EXPECT_EQ(windowsPortName(R"(\\.\COM3)"), R"(\\.\COM3)");
    for (const char* other : {"COM", "COM0", "COM1x", "COMPORT", "COM 3", "C:\\COM3", "", "com99999999999:"})
        EXPECT_EQ(windowsPortName(other), other);
}

TEST(WindowsSerialLine, says_why_a_name_is_no_port_and_opens_nothing)
{
    test::TempDir dir;
    test::writeText(dir.file("page.bin"), "not a port");
    WindowsSerialLine line;
    EXPECT_EQ(line.open("COM199").problem, PortProblem::NoSuchDevice);
    EXPECT_EQ(line.open(R"(\\.\COM198)").problem, PortProblem::NoSuchDevice);
    EXPECT_EQ(line.open(dir.file("page.bin")).problem, PortProblem::NotSerial);
    EXPECT_EQ(line.open(dir.path().string()).problem, PortProblem::NotSerial) << "a folder is no port in use";
    EXPECT_EQ(line.open("NUL").problem, PortProblem::NotSerial);
    EXPECT_EQ(line.open(dir.file("missing")).problem, PortProblem::NoSuchDevice);
    EXPECT_EQ(line.configure(9600), LineResult::Failed) << "nothing is open";
    EXPECT_EQ(line.waitForInput(1ms), LineResult::Failed);
    EXPECT_FALSE(line.readQueued({}).has_value());
}

// Set by tests/WineComPortTest.sh only: the COM port it linked to the
// simulated ECM (whose RAM page holds 255 - address), and a file whose
// creation makes it stop the simulator, hanging up the line.
class WindowsSerialLineOnAComPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* port = std::getenv("TAVO_TEST_COM_PORT");
        const char* hangUp = std::getenv("TAVO_TEST_HANG_UP_FILE");
        if (!port || !hangUp)
            GTEST_SKIP() << "runs under tests/WineComPortTest.sh, on a COM port linked to the simulated ECM";
        device = port;
        hangUpFile = hangUp;
    }

    // The reply to one request, when one came within the bound.
    std::optional<std::uint8_t> ask(std::uint8_t address)
    {
        std::uint8_t reply[16];
        if (line.writeByte(address) != LineResult::Ok || line.waitForInput(500ms) != LineResult::Ok)
            return std::nullopt;
        const auto count = line.readQueued(reply);
        if (!count || *count != 1)
            return std::nullopt;
        return reply[0];
    }

    std::string device;
    std::string hangUpFile;
    WindowsSerialLine line;
};

TEST_F(WindowsSerialLineOnAComPort, carries_every_byte_value_waits_no_longer_than_its_bound_and_fails_when_gone)
{
    ASSERT_TRUE(line.open(device)) << device;
    ASSERT_EQ(line.configure(1200), LineResult::Ok);
    EXPECT_EQ(line.lineRate(), 1200);
    ASSERT_EQ(line.configure(9600), LineResult::Ok);
    EXPECT_EQ(line.lineRate(), 9600);
    ASSERT_EQ(line.purge(), LineResult::Ok);

    EXPECT_EQ(ask(0x12), 0x12) << "the probe is echoed";
    // No flow control and no padding: XON, XOFF and NUL are RAM values.
    EXPECT_EQ(ask(0xEE), 0x11);
    EXPECT_EQ(ask(0xEC), 0x13);
    EXPECT_EQ(ask(0xFF), 0x00);
    EXPECT_EQ(ask(0x40), 0xBF);

    // A byte that came in before the wait is reported at once and read once.
    ASSERT_EQ(line.writeByte(0x41), LineResult::Ok);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(line.waitForInput(0ms), LineResult::Ok);
    std::uint8_t bytes[8];
    EXPECT_EQ(line.readQueued(bytes), 1u);
    EXPECT_EQ(bytes[0], 0xBE);
    EXPECT_EQ(line.readQueued(bytes), 0u);

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(line.waitForInput(50ms), LineResult::TimedOut);
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_GE(waited, 45ms);
    EXPECT_LT(waited, 1s);

    // The ECM answers until the simulator has ended, a moment later.
    test::writeText(hangUpFile, "");
    LineResult result = LineResult::Ok;
    const auto hungUp = std::chrono::steady_clock::now();
    while (result != LineResult::Failed && std::chrono::steady_clock::now() - hungUp < 10s) {
        result = line.writeByte(0x40);
        if (result != LineResult::Failed)
            result = line.waitForInput(50ms);
        if (result == LineResult::Ok && !line.readQueued(bytes))
            result = LineResult::Failed;
    }
    EXPECT_EQ(result, LineResult::Failed) << "the simulator was stopped: its line hung up";
    EXPECT_FALSE(line.readQueued(bytes).has_value());
}

}  // namespace
}  // namespace tavo
