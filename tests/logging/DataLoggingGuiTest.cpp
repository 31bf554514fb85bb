#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "SimulatedEcm.h"
#include "link/qt/ConnectingDialog.h"
#include "link/qt/LinkThread.h"
#include "logging/LogFile.h"
#include "logging/LoggingConfig.h"
#include "logging/qt/DataLoggingDialog.h"
#include "logging/qt/LoggingSession.h"
#include "logging/qt/LoggingVariablesDialog.h"
#include "support/DialogChild.h"
#include "support/ReplyLabel.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

using test::child;

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    return names;
}

void click(QWidget& dialog, int id)
{
    QTest::mouseClick(child<QAbstractButton>(dialog, id), Qt::LeftButton);
}

TEST(LoggingVariablesDialogTest, shows_hex_and_six_decimals_parses_them_back_on_ok_and_cancel_changes_nothing)
{
    LoggingConfig config;
    setLoggingDefaults(config);
    config.channels[2].location = 0x05;
    {
        LoggingVariablesDialog dialog(config);
        EXPECT_EQ(dialog.windowTitle(), "Data Logging Variables");
        EXPECT_EQ(child<QLineEdit>(dialog, 1194)->text(), "RPMs");
        EXPECT_EQ(child<QLineEdit>(dialog, 1125)->text(), "8f");
        EXPECT_EQ(child<QLineEdit>(dialog, 1173)->text(), " 5") << "channel 3";
        EXPECT_EQ(child<QLineEdit>(dialog, 1126)->text(), "0.007813");
        EXPECT_EQ(child<QLineEdit>(dialog, 1185)->text(), "1.000000") << "channel 8";
        EXPECT_TRUE(child<QCheckBox>(dialog, 1186)->isChecked());
        EXPECT_FALSE(child<QCheckBox>(dialog, 1193)->isChecked());
        EXPECT_EQ(child<QLineEdit>(dialog, 1205)->text(), "87 Turbo II");
        child<QLineEdit>(dialog, 1165)->setText("Speed");
        child<QLineEdit>(dialog, 1172)->setText("  8F");
        child<QLineEdit>(dialog, 1174)->setText("123");
        child<QLineEdit>(dialog, 1175)->setText("");
        child<QLineEdit>(dialog, 1179)->setText("0.1");
        child<QLineEdit>(dialog, 1180)->setText("x");
        child<QCheckBox>(dialog, 1193)->setChecked(true);
        child<QLineEdit>(dialog, 1205)->setText("Track day");
        click(dialog, 1);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(config.channels[1].titleText(), "Speed");
    EXPECT_EQ(config.channels[1].location, 0x8F);
    EXPECT_EQ(config.channels[3].location, 0x12) << "two digits taken";
    EXPECT_EQ(config.channels[4].location, 0x9A) << "an empty field keeps the location";
    EXPECT_EQ(config.channels[1].multiplier, static_cast<double>(0.1f));
    EXPECT_EQ(config.channels[2].multiplier, 1.0) << "no number: unchanged";
    EXPECT_EQ(config.channels[0].multiplier, static_cast<double>(0.007813f)) << "the shown six decimals, in single precision";
    EXPECT_TRUE(config.channels[7].word);
    EXPECT_EQ(config.nameText(), "Track day");

    const LoggingConfig before = config;
    LoggingVariablesDialog cancelled(config);
    child<QLineEdit>(cancelled, 1194)->setText("changed");
    click(cancelled, 2);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(config.channels[0].titleText(), before.channels[0].titleText());
}

// The Data Logging dialog against a simulated ECM whose pages are known:
// the k-th logged tick (one sync check each) sees page k - 1, holding k - 1
// at Throttle Position (0x98) and RPMs of 2 (k - 1).
class DataLoggingDialogTest : public ::testing::Test {
protected:
    LinkState shown;
    LinkThread link{shown};
    AcquisitionState acquisition;
    LoggingConfig config;
    TracePens pens = makeTracePens();
    test::ScriptedPrompts prompts;
    test::TempDir dir;
    sim::SimulatedEcm ecm;
    std::optional<std::string> device;
    LoggingSession session{acquisition, config, link, [this] { return LinkTarget{device, {1, 1, 4}}; }};

    void SetUp() override { setLoggingDefaults(config); }
    void startEcm(sim::SimOptions options = {})
    {
        for (int k = 0; k < 256; ++k) {
            sim::RamPage page{};
            page[0x98] = static_cast<std::uint8_t>(k);
            page[0x8F] = static_cast<std::uint8_t>(k);
            options.frames.push_back(page);
        }
        std::string error;
        ASSERT_TRUE(ecm.start(options, error)) << error;
        device = ecm.devicePath();
    }
    std::unique_ptr<DataLoggingDialog> open()
    {
        auto dialog = std::make_unique<DataLoggingDialog>(
            DataLoggingContext{session, config, pens, prompts, dir.file("logs")});
        dialog->show();
        return dialog;
    }
    // The link thread has taken every command so far.
    bool linkFree(int withinMs)
    {
        bool free = false;
        link.post([&free](EcmLink&) { free = true; });
        return QTest::qWaitFor([&free] { return free; }, withinMs);
    }
    static bool logPressed(QDialog& dialog) { return child<QPushButton>(dialog, 1121)->isChecked(); }
};

TEST_F(DataLoggingDialogTest, log_samples_in_tick_order_and_a_reopened_window_is_in_step_with_the_run)
{
    startEcm();
    acquisition.customLocation = 0x05;
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), "Data Logging");
    EXPECT_EQ(child<QLabel>(*dialog, 1197)->text(), "Throttle Position") << "the third title";
    EXPECT_EQ(child<QLabel>(*dialog, 1203)->text(), "87 Turbo II");
    EXPECT_EQ(child<QLineEdit>(*dialog, 1156)->text(), " 5");
    EXPECT_TRUE(child<QRadioButton>(*dialog, 1134)->isChecked()) << "8 / second";
    EXPECT_EQ(child<QCheckBox>(*dialog, 1111)->text(), "&3");
    EXPECT_FALSE(child<QCheckBox>(*dialog, 1157)->isEnabled()) << "Signed";
    EXPECT_EQ(dialog->findChild<QWidget*>("1135")->geometry(), QRect(148, 15, 384, 258));

    click(*dialog, 1112);  // "&1": RPMs
    click(*dialog, 1111);  // "&3": Throttle Position
    EXPECT_EQ(acquisition.channelMask, 0b101u);
    QTRY_VERIFY(!dialog->graph().bitmap.isNull());  // idle: the chart scrolls before LOG
    EXPECT_EQ(acquisition.writePos, 0);
    click(*dialog, 1130);  // Fastest
    EXPECT_EQ(acquisition.samplePeriodMs, 1);
    click(*dialog, 1121);  // LOG
    QTRY_VERIFY_WITH_TIMEOUT(acquisition.writePos >= 20, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(child<QLineEdit>(*dialog, 1129)->text(), QString("SYNC"), 15000);
    for (int row = 1; row <= 20; ++row) {
        ASSERT_EQ(acquisition.samples[static_cast<std::size_t>(row)][2], row - 1) << row;
        ASSERT_EQ(acquisition.samples[static_cast<std::size_t>(row)][0], 2 * (row - 1)) << row;
    }
    click(*dialog, 1154);  // Smoothing
    EXPECT_TRUE(acquisition.smoothing);
    click(*dialog, 1133);  // 2 / second
    EXPECT_EQ(acquisition.samplePeriodMs, 500);

    click(*dialog, 1122);  // Save...
    const std::vector<std::string> saved = namesIn(dir.file("logs"));
    ASSERT_EQ(saved.size(), 1u);
    const auto log = decodeLogFile(test::readText(dir.file("logs") + "/" + saved[0]));
    ASSERT_TRUE(log);
    EXPECT_EQ(log->writePos, acquisition.writePos);
    EXPECT_EQ(log->samples, acquisition.samples);
    EXPECT_EQ(log->samplePeriodMs, 500);
    EXPECT_EQ(dialog->findChild<QLabel*>("saved")->text(), QString::fromStdString("Saved " + saved[0] + " in " + dir.file("logs")));

    click(*dialog, 1);  // OK, while logging: the run stays on, the link goes
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_TRUE(acquisition.logOn);
    ASSERT_TRUE(linkFree(5000));
    QTRY_VERIFY_WITH_TIMEOUT(!shown.linkConnected, 15000);
    dialog.reset();

    // Reopened: the chart is redrawn from the ring at once, LOG and
    // Smoothing are drawn as the run has them, and the run connects again.
    const int before = acquisition.writePos;
    auto reopened = open();
    EXPECT_FALSE(reopened->graph().bitmap.isNull()) << "not blank";
    EXPECT_TRUE(logPressed(*reopened));
    EXPECT_TRUE(child<QPushButton>(*reopened, 1154)->isChecked());
    EXPECT_TRUE(child<QCheckBox>(*reopened, 1112)->isChecked());
    EXPECT_FALSE(child<QCheckBox>(*reopened, 1113)->isChecked());
    EXPECT_TRUE(child<QRadioButton>(*reopened, 1133)->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(acquisition.writePos >= before + 2, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(child<QLineEdit>(*reopened, 1129)->text(), QString("SYNC"), 15000);

    // Released, then reopened: LOG up, and the ticks do nothing at all.
    click(*reopened, 1121);
    EXPECT_FALSE(acquisition.logOn);
    ASSERT_TRUE(linkFree(5000));
    QTest::keyClick(reopened.get(), Qt::Key_Escape);
    EXPECT_EQ(reopened->result(), 2);
    reopened.reset();
    const int stopped = acquisition.writePos;
    auto third = open();
    EXPECT_FALSE(logPressed(*third));
    EXPECT_FALSE(third->graph().bitmap.isNull());
    const QImage chart = third->graph().bitmap;
    QTest::qWait(1200);
    EXPECT_EQ(acquisition.writePos, stopped);
    EXPECT_EQ(third->graph().bitmap, chart) << "stopped: the chart stands still";
}

TEST_F(DataLoggingDialogTest, abort_log_released_and_ok_end_connecting_at_once_and_leave_log_released)
{
    sim::SimOptions silent;
    silent.silent = true;
    startEcm(silent);
    auto dialog = open();
    click(*dialog, 1121);  // LOG: a connection procedure of some six seconds begins
    QTRY_VERIFY_WITH_TIMEOUT(dialog->findChild<ConnectingDialog*>() != nullptr, 3000);
    QTest::qWait(300);
    click(*dialog, 1122);  // Save... answers at once
    EXPECT_EQ(namesIn(dir.file("logs")).size(), 1u);
    // Abort, with the mouse.
    click(*dialog->findChild<ConnectingDialog*>(), 1136);
    QTRY_VERIFY_WITH_TIMEOUT(!logPressed(*dialog), 3000);
    EXPECT_TRUE(linkFree(3000));
    EXPECT_FALSE(acquisition.logOn);
    EXPECT_TRUE(prompts.messages.empty()) << "an abort is no failure";
    QTRY_VERIFY_WITH_TIMEOUT(dialog->findChild<ConnectingDialog*>() == nullptr, 3000);

    // Abort with the keyboard: Alt+A in the window, whose keys keep working
    // (the window's shortcuts answer while it is the active window).
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    click(*dialog, 1121);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->findChild<ConnectingDialog*>() != nullptr, 3000);
    ASSERT_EQ(QApplication::activeWindow(), dialog.get()) << "the box leaves the window active";
    QTest::keyClick(dialog.get(), Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!logPressed(*dialog), 3000);
    EXPECT_TRUE(linkFree(3000));

    // LOG released from the keyboard.
    click(*dialog, 1121);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->findChild<ConnectingDialog*>() != nullptr, 3000);
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QTest::keyClick(dialog.get(), Qt::Key_L, Qt::AltModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!logPressed(*dialog), 3000);
    EXPECT_TRUE(linkFree(3000));

    click(*dialog, 1121);
    QTest::qWait(300);
    click(*dialog, 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(linkFree(3000));
    EXPECT_FALSE(shown.linkConnected);
}

TEST_F(DataLoggingDialogTest, sync_shows_only_while_the_run_is_in_step_not_while_connecting_nor_after_it_ends)
{
    startEcm();
    auto dialog = open();
    QLineEdit* sync = child<QLineEdit>(*dialog, 1129);
    EXPECT_EQ(sync->text(), "----") << "no run yet";
    click(*dialog, 1121);  // LOG
    QTRY_COMPARE_WITH_TIMEOUT(sync->text(), QString("SYNC"), 10000);
    click(*dialog, 1121);  // released: the run ends
    EXPECT_EQ(sync->text(), "----");
    ASSERT_TRUE(linkFree(10000));
    EXPECT_EQ(sync->text(), "----") << "the run's last check does not bring it back";

    // The next run, to an ECM that says nothing: "Connecting...", then Abort.
    sim::SimulatedEcm silentEcm;
    sim::SimOptions silent;
    silent.silent = true;
    std::string error;
    ASSERT_TRUE(silentEcm.start(silent, error)) << error;
    device = silentEcm.devicePath();
    click(*dialog, 1121);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->findChild<ConnectingDialog*>() != nullptr, 10000);
    EXPECT_EQ(sync->text(), "----") << "connecting";
    QTest::qWait(200);
    EXPECT_EQ(sync->text(), "----") << "still connecting";
    click(*dialog->findChild<ConnectingDialog*>(), 1136);  // Abort
    QTRY_VERIFY_WITH_TIMEOUT(!logPressed(*dialog), 10000);
    ASSERT_TRUE(linkFree(10000));
    EXPECT_EQ(sync->text(), "----") << "after Abort";
    EXPECT_FALSE(shown.linkSynced);
}

TEST_F(DataLoggingDialogTest, a_failed_connection_says_why_and_leaves_log_released)
{
    device = dir.file("no-such-tty");
    auto dialog = open();
    click(*dialog, 1121);
    QTRY_VERIFY_WITH_TIMEOUT(!logPressed(*dialog), 1000);
    EXPECT_FALSE(acquisition.logOn);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "TaVO Error");
    EXPECT_EQ(prompts.messages[0].text.rfind("There is no serial device " + *device + ".", 0), 0u)
        << prompts.messages[0].text;
    QTest::qWait(300);
    EXPECT_EQ(acquisition.writePos, 0) << "nothing logged";
}

TEST_F(DataLoggingDialogTest, an_ecm_that_stops_answering_is_said_and_its_silence_stores_nothing)
{
    sim::SimOptions options;
    options.muteAfter = 120;
    startEcm(options);
    auto dialog = open();
    click(*dialog, 1112);
    click(*dialog, 1130);  // Fastest
    click(*dialog, 1121);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->findChild<QLabel*>("saved")->text().startsWith("No reply from the ECM since "),
                             3000);
    const int written = acquisition.writePos;
    EXPECT_GT(written, 5);
    QTest::qWait(400);
    EXPECT_EQ(acquisition.writePos, written) << "no row while it is silent";
    EXPECT_EQ(child<QLineEdit>(*dialog, 1129)->text(), "----");
    for (int row = 1; row <= written; ++row)
        ASSERT_EQ(acquisition.samples[static_cast<std::size_t>(row)][0], 2 * (row - 1)) << row;
    click(*dialog, 1121);
    EXPECT_TRUE(dialog->findChild<QLabel*>("saved")->text().isEmpty());
}

}  // namespace
}  // namespace tavo

namespace tavo {
namespace {

TEST_F(DataLoggingDialogTest, an_adapter_holding_replies_for_16_ms_is_explained_below_the_chart)
{
    sim::SimOptions options;
    options.usbLatencyMs = 16;
    startEcm(options);
    auto dialog = open();
    auto* advice = dialog->findChild<QLabel*>("slowAdapter");
    const int height = dialog->height();
    click(*dialog, 1130);  // Fastest
    click(*dialog, 1121);  // LOG
    // Twenty replies of 16 ms take a third of a second; the bound is for a loaded machine.
    QTRY_VERIFY_WITH_TIMEOUT(advice->isVisible(), 60000);
    // The adapter holds each reply until its next 16 ms tick: a request sent
    // just after a tick waits nearly all of it, one sent just before hardly
    // at all, so the median depends on when the requests go out.
    const QString reply = dialog->findChild<QLabel*>("replyTime")->text();
    EXPECT_GT(test::replyLabelMs(reply), 3.0) << reply.toStdString();
    EXPECT_LE(test::replyLabelMs(reply), 17.0) << reply.toStdString();
    EXPECT_TRUE(advice->text().startsWith("Replies take ")) << advice->text().toStdString();
    EXPECT_GT(dialog->height(), height) << "the window makes room for the sentence";
    click(*dialog, 1121);  // LOG released
    EXPECT_TRUE(linkFree(60000));
}

}  // namespace
}  // namespace tavo
