#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QTest>

#include "SimulatedEcm.h"
#include "link/qt/ConnectingDialog.h"
#include "link/qt/LinkThread.h"
#include "live/qt/LiveRunControls.h"
#include "logging/LoggingConfig.h"
#include "logging/qt/DataLoggingDialog.h"
#include "logging/qt/LoggingSession.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

// "Live" over a dialog standing in for the Quick Viewer, against the
// simulated ECM on a pseudo-terminal, with the program's one logging session.
class LiveRunTest : public ::testing::Test {
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
    QDialog viewer;
    std::unique_ptr<LiveRunControls> controls;
    int ticks = 0;

    void SetUp() override
    {
        setLoggingDefaults(config);
        acquisition.channelMask = 0b101;
        QObject::connect(&session, &LoggingSession::ticked, &viewer, [this] { ++ticks; });
    }
    void startEcm(sim::SimOptions options = {})
    {
        std::string error;
        ASSERT_TRUE(ecm.start(options, error)) << error;
        device = ecm.devicePath();
    }
    QCheckBox* liveBox()
    {
        if (!controls) {
            controls = std::make_unique<LiveRunControls>(viewer, session, &prompts);
            viewer.show();
        }
        return viewer.findChild<QCheckBox*>("live");
    }
    bool linkFree(int withinMs)
    {
        bool free = false;
        link.post([&free](EcmLink&) { free = true; });
        return QTest::qWaitFor([&free] { return free; }, withinMs);
    }
    // Nothing more is stored for a while (the ticks have stopped).
    bool standsStill()
    {
        const int before = acquisition.sampleCount;
        QTest::qWait(600);
        return acquisition.sampleCount == before;
    }
};

TEST_F(LiveRunTest, ticking_live_logs_into_the_ring_and_unticking_ends_the_run_it_started)
{
    startEcm();
    QCheckBox* live = liveBox();
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(live->text(), "&Live");
    bool started = false;
    QObject::connect(controls.get(), &LiveRunControls::liveStarted, [&started] { started = true; });
    EXPECT_TRUE(standsStill()) << "nothing runs before Live is ticked";
    EXPECT_EQ(ticks, 0);

    QTest::mouseClick(live, Qt::LeftButton, {}, QPoint(8, live->height() / 2));
    ASSERT_TRUE(live->isChecked());
    EXPECT_TRUE(started);
    EXPECT_TRUE(acquisition.logOn) << "Live pressed LOG";
    QTRY_VERIFY_WITH_TIMEOUT(acquisition.sampleCount >= 5, 20000);
    EXPECT_EQ(session.phase(), RunPhase::Logging);
    EXPECT_GT(ticks, 0);
    EXPECT_TRUE(session.liveStartedRun());

    live->setChecked(false);
    EXPECT_FALSE(acquisition.logOn) << "the run Live started has ended";
    EXPECT_EQ(session.phase(), RunPhase::Idle);
    ASSERT_TRUE(linkFree(5000));
    QTRY_VERIFY_WITH_TIMEOUT(!shown.linkConnected, 15000);
    EXPECT_TRUE(standsStill());
}

TEST_F(LiveRunTest, a_run_log_started_goes_on_under_live_and_stays_pressed_when_live_is_unticked)
{
    startEcm();
    {
        DataLoggingDialog window(DataLoggingContext{session, config, pens, prompts, dir.file("logs")});
        window.show();
        session.setLog(true);  // LOG
        QTRY_VERIFY_WITH_TIMEOUT(acquisition.sampleCount >= 2, 20000);
        window.accept();  // closed while logging: LOG stays pressed, the ticks stop
    }
    EXPECT_TRUE(acquisition.logOn);
    ASSERT_TRUE(linkFree(5000));
    EXPECT_TRUE(standsStill()) << "the Data Logging window closed: no ticks";

    QCheckBox* live = liveBox();
    live->setChecked(true);
    const int before = acquisition.sampleCount;
    QTRY_VERIFY_WITH_TIMEOUT(acquisition.sampleCount >= before + 3, 20000);
    EXPECT_FALSE(session.liveStartedRun());

    live->setChecked(false);
    EXPECT_TRUE(acquisition.logOn) << "LOG's run is left as it was";
    ASSERT_TRUE(linkFree(5000));
    EXPECT_TRUE(standsStill());
    EXPECT_FALSE(session.live());
}

TEST_F(LiveRunTest, a_failed_connection_says_why_and_unticks_live_and_closing_aborts_connecting)
{
    device = dir.file("no-such-port");
    QCheckBox* live = liveBox();
    live->setChecked(true);
    QTRY_VERIFY_WITH_TIMEOUT(!live->isChecked(), 20000);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].text.find("no-such-port"), std::string::npos) << prompts.messages[0].text;
    EXPECT_FALSE(acquisition.logOn);
    QTRY_VERIFY_WITH_TIMEOUT(!session.live(), 5000);

    // A silent ECM: "Connecting..." over the viewer until the viewer closes.
    sim::SimOptions silent;
    silent.silent = true;
    startEcm(silent);
    live->setChecked(true);
    QTRY_VERIFY_WITH_TIMEOUT(viewer.findChild<ConnectingDialog*>() != nullptr, 5000);
    EXPECT_EQ(viewer.findChild<QLabel*>("liveStatus")->text(), "Connecting...");
    EXPECT_EQ(session.phase(), RunPhase::Connecting);
    controls->closing();
    QTRY_VERIFY_WITH_TIMEOUT(!session.connecting(), 5000);
    EXPECT_FALSE(acquisition.logOn);
    EXPECT_EQ(prompts.messages.size(), 1u) << "an abort is no failure";
}

}  // namespace
}  // namespace tavo
