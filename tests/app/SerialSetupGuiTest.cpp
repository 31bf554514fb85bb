#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QRadioButton>
#include <filesystem>

#include "app/AppState.h"
#include "app/CommandIds.h"
#include "app/qt/MainWindow.h"
#include "link/qt/SerialPortDialog.h"
#include "support/DialogChild.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

using test::child;

// Serial Port, through the menu command, in a folder of its own (OK writes
// Logging.cfg in the current directory).
class SerialPortDialogTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path previous = std::filesystem::current_path();
    test::ScriptedPrompts prompts;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    std::unique_ptr<MainWindow> window;
    std::function<void(QDialog&)> user;  // what the user does in the dialog

    void SetUp() override
    {
        std::filesystem::current_path(dir.path());
        setLoggingDefaults(state->loggingConfig);
        window = std::make_unique<MainWindow>(*state, &prompts);
        window->runModal = [this](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Serial Port");
            user(dialog);
            return dialog.result();
        };
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    static void press(QDialog& dialog, int id) { child<QAbstractButton>(dialog, id)->click(); }
};

TEST_F(SerialPortDialogTest, com3_and_62500_baud_confirmed_are_stored_in_logging_cfg)
{
    user = [](QDialog& dialog) {
        EXPECT_TRUE(child<QRadioButton>(dialog, 1305)->isChecked());
#ifdef _WIN32
        EXPECT_EQ(child<QRadioButton>(dialog, 1307)->toolTip(), "COM3");
#else
        EXPECT_EQ(child<QRadioButton>(dialog, 1307)->toolTip(), "/dev/ttyUSB2");
#endif
        press(dialog, 1307);
        press(dialog, 1111);
        press(dialog, 1);
    };
    window->runCommand(command::SetupSerial);
    EXPECT_EQ(state->loggingConfig.serial.port, 3);
    EXPECT_EQ(state->loggingConfig.serial.lowSpeed, 1);
    EXPECT_EQ(state->loggingConfig.serial.highSpeed, 3);
    const auto bytes = test::readBytes(kLoggingConfigFile);
    ASSERT_EQ(bytes.size(), 1356u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 1344, bytes.end()),
              (std::vector<std::uint8_t>{3, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0}));
}

TEST_F(SerialPortDialogTest, a_port_outside_one_to_four_opens_unchecked_and_ok_keeps_it)
{
    state->loggingConfig.serial = {7, 2, 4};
    user = [](QDialog& dialog) {
        for (int id = 1305; id <= 1308; ++id)
            EXPECT_FALSE(child<QRadioButton>(dialog, id)->isChecked());
        EXPECT_TRUE(child<QRadioButton>(dialog, 1104)->isChecked());
        EXPECT_TRUE(child<QRadioButton>(dialog, 1112)->isChecked());
        press(dialog, 1);
    };
    window->runCommand(command::SetupSerial);
    EXPECT_EQ(state->loggingConfig.serial.port, 7);
    EXPECT_EQ(state->loggingConfig.serial.lowSpeed, 2);
    EXPECT_EQ(state->loggingConfig.serial.highSpeed, 4);
    EXPECT_TRUE(std::filesystem::exists(kLoggingConfigFile));
}

TEST_F(SerialPortDialogTest, cancel_changes_nothing_and_writes_nothing)
{
    user = [](QDialog& dialog) {
        press(dialog, 1308);
        press(dialog, 1106);
        press(dialog, 2);
    };
    window->runCommand(command::SetupSerial);
    EXPECT_EQ(state->loggingConfig.serial.port, 1);
    EXPECT_EQ(state->loggingConfig.serial.lowSpeed, 1);
    EXPECT_FALSE(std::filesystem::exists(kLoggingConfigFile));

    SerialSettings settings;
    SerialPortDialog overridden(settings, "/tmp/ecm");
    for (int id = 1305; id <= 1308; ++id)
        EXPECT_EQ(child<QRadioButton>(overridden, id)->toolTip(), "/tmp/ecm") << "every port opens the override";
}

}  // namespace
}  // namespace tavo
