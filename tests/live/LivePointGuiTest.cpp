#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

#include "SampleCalibration.h"
#include "link/qt/LinkThread.h"
#include "live/qt/LiveHitsControls.h"
#include "live/qt/LivePointView.h"
#include "live/qt/LiveTuning.h"
#include "logging/LoggingConfig.h"
#include "logging/qt/LoggingSession.h"
#include "review/ChannelScales.h"
#include "review/HitCounts.h"
#include "review/LogRun.h"
#include "review/TableChannelChoices.h"
#include "review/qt/HitCountPanel.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/ScalePercentages.h"
#include "tables/TableLookup.h"
#include "tables/qt/TableEditorDialog.h"
#include "viewer/GraphMapping.h"
#include "viewer/QuickViewerIds.h"
#include "viewer/QuickViewerState.h"
#include "viewer/qt/QuickViewerDialog.h"
#include "viewer/qt/TableGraphView.h"

namespace tavo {
namespace {

// The Quick Viewer with live tuning on the sample's WOT table; the rows are
// stored into the session's ring by the test, as the ticks would.
class LivePointTest : public ::testing::Test {
protected:
    test::TempDir dir;
    RomImage working;
    RomImage comparison;
    bool comparisonLoaded = false;
    QuickViewerState state;
    ScalePercentages scale;
    test::ScriptedPrompts prompts;
    LinkState shown;
    LinkThread link{shown};
    AcquisitionState acquisition;
    LoggingConfig config;
    LoggingSession session{acquisition, config, link, [] { return LinkTarget{}; }};
    MemoryTableChannelChoices choices;
    std::unique_ptr<LiveTuning> live;
    std::unique_ptr<QuickViewerDialog> dialog;

    void SetUp() override
    {
        setLoggingDefaults(config);
        ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
        ASSERT_EQ(loadRomImageFrom(working, dir.file("sample.bin"), prompts), LoadOutcome::Loaded);
        acquisition.channelMask = 0b1;  // channel 1 logged
    }
    void TearDown() override { dialog.reset(); }

    void open()
    {
        live = std::make_unique<LiveTuning>(
            LiveTuningContext{session, config, working, scales, &prompts, &choices, 2.0});
        QuickViewerContext context{working, comparison, comparisonLoaded, state, scale, prompts};
        context.addOn = live.get();
        dialog = std::make_unique<QuickViewerDialog>(context);
        dialog->show();
    }
    void showTable(const char* name)
    {
        auto* list = dialog->findChild<QTreeWidget*>();
        const auto found = list->findItems(QString::fromLatin1(name), Qt::MatchExactly, 0);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found.front());
    }
    QComboBox* channelBox() { return dialog->findChild<QComboBox*>("liveChannel"); }
    void chooseChannel(int index)
    {
        channelBox()->setCurrentIndex(index);
        emit channelBox()->activated(index);
    }
    // A row stored as a tick stores it: channel 1 reads `value`.
    void store(int value, std::int64_t sampledUs)
    {
        acquisition.writePos = ringRow(acquisition.writePos + 1);
        acquisition.samples[static_cast<std::size_t>(acquisition.writePos)][0] = static_cast<std::uint8_t>(value);
        acquisition.rowTimesUs[static_cast<std::size_t>(acquisition.writePos)] = sampledUs;
        ++acquisition.sampleCount;
        TickRecord record;
        record.outcome = TickOutcome::Logged;
        record.stored = true;
        emit session.ticked(record);
    }
    std::vector<int> wotXs() { return pointXs(tablePoints(working, working.tables[static_cast<std::size_t>(
                                                                        findTableIndexOrNone(working, "WOTTBL"))])); }

    struct NoScales : ChannelScales {
        std::optional<ChannelScale> scaleFor(std::string_view) const override { return std::nullopt; }
        bool setScale(std::string_view, const std::optional<ChannelScale>&) override { return false; }
    } scales;
};

TEST_F(LivePointTest, the_marker_follows_stored_rows_on_the_curve_and_stays_through_a_gap)
{
    open();
    showTable("WOT Fuel vs RPM");
    LivePointView* view = live->pointView();
    ASSERT_NE(view, nullptr);
    store(40, 1'000'000);
    EXPECT_FALSE(view->mark()) << "no live channel chosen: none is guessed";

    chooseChannel(1);  // channel 1's title
    const std::vector<int> xs = wotXs();
    ASSERT_GE(xs.size(), 2u);
    const int between = (xs[0] + xs[1]) / 2;
    store(between, 1'100'000);
    auto mark = view->mark();
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->at.x, between);
    EXPECT_FALSE(mark->outside);
    // On the drawn curve: the graph image is black there.
    EXPECT_EQ(dialog->graphImage().pixel(mark->at.x, mark->at.y) | 0xFF000000U, qRgb(0, 0, 0));

    store(xs[1], 1'600'000);
    mark = view->mark();
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->at.x, xs[1]);
    ASSERT_EQ(view->trail().size(), 2u) << "the rows before, within the trail's 2 s";
    EXPECT_EQ(view->trail()[1].mark.at.x, between);
    EXPECT_LT(view->trail()[0].strength, view->trail()[1].strength) << "the older, the fainter";

    // Ticks that store nothing (a gap) leave the marker where it was.
    emit session.ticked(TickRecord{});
    EXPECT_EQ(view->mark()->at.x, xs[1]);

    store(255, 1'700'000);
    EXPECT_TRUE(view->mark()->outside) << "above the table's x range";
    EXPECT_EQ(view->mark()->at.x, *std::max_element(xs.begin(), xs.end()));
}

TEST_F(LivePointTest, the_live_channel_is_the_log_windows_hit_channel_for_the_same_table)
{
    open();
    showTable("WOT Fuel vs RPM");
    chooseChannel(3);
    const std::string title = config.channels[2].titleText();
    EXPECT_EQ(choices.channelFor("WOTTBL"), title);

    // The log window's Hit Counts tab takes it for the same table...
    LogRun run;
    for (int c = 0; c < kChannelCount; ++c)
        run.channels.push_back({config.channels[static_cast<std::size_t>(c)].titleText(), c, {10, 20}});
    run.seconds = {0.125, 0.25};
    HitCountPanel hits(run, working);
    ASSERT_TRUE(hits.chooseTable(findTableIndexOrNone(working, "WOTTBL")));
    hits.setChannelChoices(choices);
    EXPECT_EQ(hits.findChild<QComboBox*>("hitChannel")->currentText().toStdString(), title);

    // ...and a channel chosen there is the viewer's next time the table shows.
    hits.chooseChannel(0);
    showTable("Part Throttle Fuel vs MAP");
    showTable("WOT Fuel vs RPM");
    EXPECT_EQ(channelBox()->currentText().toStdString(), config.channels[0].titleText());
}

TEST_F(LivePointTest, ticked_hits_shade_the_points_stored_rows_counted_for_until_reset)
{
    store(40, 500'000);  // before the viewer opened: counts for nothing
    open();
    showTable("WOT Fuel vs RPM");
    chooseChannel(1);
    const std::vector<int> xs = wotXs();
    ASSERT_GE(xs.size(), 4u);
    auto* hits = dialog->findChild<QCheckBox*>("liveHits");
    ASSERT_NE(hits, nullptr);
    auto* graph = dialog->findChild<TableGraphView*>();
    // The graph as drawn on the screen, near the top of the column of x.
    auto shown = [graph](int x) { return graph->grab().toImage().pixel(x, kGraphTop + 10) | 0xFF000000U; };
    const QRgb white = qRgb(255, 255, 255);

    store(xs[1], 1'000'000);
    store(xs[1], 1'100'000);
    store(xs[2], 1'200'000);
    EXPECT_EQ(shown(xs[1]), white) << "Hits not ticked: nothing shaded";
    QTest::mouseClick(hits, Qt::LeftButton);
    const LiveHitCounts& counts = live->hitsControls()->counts();
    EXPECT_EQ(counts.counts().hits[1], 2);
    EXPECT_EQ(counts.counts().hits[2], 1);
    EXPECT_EQ(counts.counts().rows, 3);
    EXPECT_NE(shown(xs[1]), white);
    EXPECT_LT(qBlue(shown(xs[1])), qBlue(shown(xs[2]))) << "the most hit point the deepest";
    EXPECT_EQ(shown(xs[3]), white) << "a point without hits";

    QTest::mouseClick(dialog->findChild<QPushButton*>("liveHitsReset"), Qt::LeftButton);
    EXPECT_EQ(counts.counts().rows, 0);
    EXPECT_EQ(shown(xs[1]), white);
    store(xs[3], 1'300'000);
    emit live->liveStarted();  // Live ticked: the counts start again
    store(xs[2], 1'400'000);
    std::vector<int> onlyTheLastRow(xs.size(), 0);
    onlyTheLastRow[2] = 1;
    EXPECT_EQ(counts.counts().hits, onlyTheLastRow);
}

TEST_F(LivePointTest, the_table_editor_marks_the_row_the_newest_stored_value_counts_for)
{
    open();
    showTable("WOT Fuel vs RPM");
    chooseChannel(1);
    const std::vector<int> xs = wotXs();
    ASSERT_GE(xs.size(), 4u);
    store(xs[2], 1'000'000);

    int opened = -2, followed = -2, outside = -2;
    bool tinted = false;
    QTimer::singleShot(0, dialog.get(), [&] {
        auto* editor = dialog->findChild<TableEditorDialog*>();
        if (!editor) {
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        opened = editor->markedRow();
        auto* grid = editor->findChild<QTreeWidget*>("rowGrid");
        tinted = grid->topLevelItem(2)->background(0).style() != Qt::NoBrush &&
                 grid->topLevelItem(1)->background(0).style() == Qt::NoBrush;
        store(xs[3], 1'100'000);
        if (QTest::qWaitFor([&] { return editor->markedRow() == 3; }, 2000))
            followed = editor->markedRow();
        store(255, 1'200'000);  // above the table's x range
        if (QTest::qWaitFor([&] { return editor->markedRow() == -1; }, 2000))
            outside = editor->markedRow();
        editor->reject();
    });
    // The modal editor runs until the timer's check closes it.
    dialog->findChild<QPushButton*>(QString::number(viewer_id::tabular))->click();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(tinted) << "the marked row's background, and only its";
    EXPECT_EQ(followed, 3);
    EXPECT_EQ(outside, -1) << "a value outside the table marks no row";
}

}  // namespace
}  // namespace tavo
