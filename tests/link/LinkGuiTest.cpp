#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "SimulatedEcm.h"
#include "link/qt/ConnectingDialog.h"
#include "link/qt/LinkThread.h"
#include "link/qt/LiveRamDialog.h"
#include "support/DialogChild.h"
#include "support/ReplyLabel.h"

namespace tavo {
namespace {

using test::child;

TEST(LinkThreadTest, tick_results_arrive_in_order_none_after_stopping_and_a_request_after_the_ticks)
{
    LinkState shown;
    LinkThread link(shown);
    auto ticks = std::make_shared<int>(0);  // counted on the link thread
    std::vector<int> seen;
    link.startTicks(0, [ticks, &seen](EcmLink&) -> LinkThread::TickResult {
        const int tick = (*ticks)++;
        return [tick, &seen] { seen.push_back(tick); };
    });
    QTRY_VERIFY(seen.size() >= 100u);
    link.stopTicks();
    const std::size_t stoppedAt = seen.size();
    int ticksBeforeRequest = -1;
    link.request([ticks, &ticksBeforeRequest](EcmLink&) -> LinkThread::TickResult {
        return [tick = *ticks, &ticksBeforeRequest] { ticksBeforeRequest = tick; };
    });
    QTRY_VERIFY(ticksBeforeRequest >= 0);
    EXPECT_EQ(seen.size(), stoppedAt) << "results of ticks still on their way were dropped";
    EXPECT_GE(static_cast<std::size_t>(ticksBeforeRequest), stoppedAt);
    for (std::size_t i = 0; i < seen.size(); ++i)
        ASSERT_EQ(seen[i], static_cast<int>(i)) << "in tick order, none missing";
}

TEST(LinkThreadTest, tick_results_come_in_batches_no_more_often_than_about_thirty_a_second)
{
    LinkState shown;
    LinkThread link(shown);
    int deliveries = 0;
    QObject::connect(&link, &LinkThread::stateChanged, [&deliveries] { ++deliveries; });
    auto ticks = std::make_shared<int>(0);
    std::vector<int> seen;
    QElapsedTimer elapsed;
    elapsed.start();
    link.startTicks(1, [ticks, &seen](EcmLink&) -> LinkThread::TickResult {
        const int tick = (*ticks)++;
        return [tick, &seen] { seen.push_back(tick); };
    });
    QTRY_VERIFY(seen.size() >= 200u);
    const int delivered = deliveries;
    const qint64 ms = elapsed.elapsed();
    link.stopTicks();
    // Each delivery leaves the link thread at least 33 ms after the one before.
    EXPECT_LE(delivered, 2 + ms / 33) << seen.size() << " results in " << ms << " ms";
    for (std::size_t i = 0; i < seen.size(); ++i)
        ASSERT_EQ(seen[i], static_cast<int>(i)) << "in tick order, none missing";
}

class LiveRamDisplayTest : public ::testing::Test {
protected:
    LinkState shown;
    LiveRamState liveRam;
    LinkThread link{shown};
    sim::SimulatedEcm ecm;

    void startEcm(const sim::SimOptions& options)
    {
        std::string error;
        ASSERT_TRUE(ecm.start(options, error)) << error;
    }
    static QString text(QDialog& dialog, int id) { return child<QLineEdit>(dialog, id)->text(); }
};

TEST_F(LiveRamDisplayTest, bank_steps_through_the_page_and_shift_steps_back)
{
    LiveRamDialog dialog(liveRam, shown, link, false);
    dialog.show();
    auto* bank = child<QPushButton>(dialog, 1148);
    EXPECT_EQ(text(dialog, 1145), "40 - 4F");
    QStringList shownRanges;
    for (int i = 0; i < 12; ++i) {
        QTest::mouseClick(bank, Qt::LeftButton);
        shownRanges << text(dialog, 1145);
    }
    EXPECT_EQ(shownRanges, (QStringList{"50 - 5F", "60 - 6F", "70 - 7F", "80 - 8F", "90 - 9F", "A0 - AF",
                                        "B0 - BF", "C0 - CF", "D0 - DF", "E0 - EF", "F0 - FF", "40 - 4F"}));
    QTest::mouseClick(bank, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(text(dialog, 1145), "F0 - FF");
    QTest::mouseClick(bank, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(text(dialog, 1145), "E0 - EF");
    EXPECT_EQ(liveRam.liveRamBase, 0xE0);

    auto* speed = child<QPushButton>(dialog, 1146);
    EXPECT_FALSE(speed->isChecked());
    QTest::mouseClick(speed, Qt::LeftButton);
    EXPECT_EQ(liveRam.liveRamPeriodMs, 1);
    QTest::mouseClick(speed, Qt::LeftButton);
    EXPECT_EQ(liveRam.liveRamPeriodMs, 200);
}

TEST_F(LiveRamDisplayTest, without_a_connection_it_shows_dashes_and_why_and_escape_leaves_it_open)
{
    shown.ramMirror[0x40] = 0x0A;
    LiveRamDialog dialog(liveRam, shown, link, false, "Not connected: the attempt was aborted.");
    dialog.show();
    EXPECT_EQ(text(dialog, 1147), "--");
    EXPECT_EQ(text(dialog, 1137), "--") << "never a value the ECM did not just send";
    EXPECT_EQ(dialog.findChild<QLabel*>("status")->text(), "Not connected: the attempt was aborted.");
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(child<QPushButton>(dialog, 1), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
}

TEST_F(LiveRamDisplayTest, a_live_simulated_ecm_fills_the_values_in_address_order_and_shows_sync)
{
    sim::SimOptions options;
    options.ram = sim::RamPage{};
    for (int i = 0; i < 256; ++i)
        (*options.ram)[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0x100 - i);
    (*options.ram)[0x40] = 0x0A;
    startEcm(options);
    ASSERT_FALSE(connectWithDialog(link, ecm.devicePath(), {1, 1, 4}, nullptr));

    LiveRamDialog dialog(liveRam, shown, link, true);
    dialog.show();
    QTRY_COMPARE(text(dialog, 1137), QString("0A"));  // shown once the next sync check confirmed it
    EXPECT_EQ(text(dialog, 1147), "**");
    EXPECT_EQ(text(dialog, 1144), "B9") << "offset 7";
    EXPECT_EQ(text(dialog, 1153), "B8") << "offset 8";
    EXPECT_EQ(text(dialog, 1160), "B1") << "offset F";
    QTest::mouseClick(child<QPushButton>(dialog, 1148), Qt::LeftButton);
    QTRY_COMPARE(text(dialog, 1137), QString("B0"));
    EXPECT_EQ(text(dialog, 1160), "A1");
}

TEST_F(LiveRamDisplayTest, abort_ends_connecting_to_a_silent_ecm_and_the_display_opens_unconnected)
{
    sim::SimOptions options;
    options.silent = true;
    startEcm(options);
    QStringList connectingTexts;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* connecting = qobject_cast<ConnectingDialog*>(QApplication::activeModalWidget());
        if (!connecting || !connectingTexts.isEmpty())
            return;
        connectingTexts << connecting->windowTitle();
        for (QLabel* label : connecting->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                connectingTexts << label->text();
        QTest::mouseClick(child<QPushButton>(*connecting, 1136), Qt::LeftButton);
    });
    poll.start(20);

    QString displayTitle;
    QString status;
    bool ticked = false;
    openLiveRamDisplay(link, liveRam, shown, ecm.devicePath(), {}, nullptr, [&](QDialog& dialog) {
        displayTitle = dialog.windowTitle();
        status = dialog.findChild<QLabel*>("status")->text();
        // No ticks: the fields keep their dashes, even once the link is free.
        QTest::qWait(300);
        ticked = text(dialog, 1137) != "--";
        return 1;
    });
    EXPECT_EQ(connectingTexts, (QStringList{"Connecting...", "Attempting to establish Communications",
                                            "with the ECM - this may take a few seconds"}));
    EXPECT_EQ(displayTitle, "Live RAM Display");
    EXPECT_EQ(status, "Not connected: the attempt was aborted.");
    EXPECT_FALSE(ticked);
    // The procedure (almost six seconds against a silent ECM) has ended: the
    // link thread takes the next job at once.
    bool free = false;
    link.post([&free](EcmLink&) { free = true; });
    QTRY_VERIFY_WITH_TIMEOUT(free, 1000);
    EXPECT_FALSE(shown.linkConnected);
}

}  // namespace
}  // namespace tavo

namespace tavo {
namespace {

TEST_F(LiveRamDisplayTest, an_adapter_holding_replies_for_16_ms_shows_its_reply_time_and_the_fix)
{
    sim::SimOptions options;
    options.usbLatencyMs = 16;
    startEcm(options);
    ASSERT_FALSE(connectWithDialog(link, ecm.devicePath(), {1, 1, 4}, nullptr));
    liveRam.liveRamPeriodMs = kLiveRamFastMs;

    LiveRamDialog dialog(liveRam, shown, link, true, {}, nullptr, ecm.devicePath());
    dialog.show();
    auto* advice = dialog.findChild<QLabel*>("slowAdapter");
    EXPECT_TRUE(advice->isHidden()) << "nothing said before the line could be judged";
    // Twenty replies of 16 ms take a third of a second; the bound is for a loaded machine.
    QTRY_VERIFY_WITH_TIMEOUT(advice->isVisible(), 60000);
    // The adapter holds each reply until its next 16 ms tick: a request sent
    // just after a tick waits nearly all of it, one sent just before hardly
    // at all, so the median depends on when the requests go out.
    const QString reply = dialog.findChild<QLabel*>("replyTime")->text();
    EXPECT_GT(test::replyLabelMs(reply), 3.0) << reply.toStdString();
    EXPECT_LE(test::replyLabelMs(reply), 17.0) << reply.toStdString();
    EXPECT_TRUE(advice->text().contains("Latency Timer") || advice->text().contains("latency_timer"))
        << advice->text().toStdString();
    QTest::mouseClick(child<QPushButton>(dialog, 1), Qt::LeftButton);
}

}  // namespace
}  // namespace tavo
