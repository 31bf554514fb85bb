#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include <map>

#include "SampleCalibration.h"
#include "logging/LogCsv.h"
#include "review/ChartGeometry.h"
#include "review/HitPictureGeometry.h"
#include "review/LogRunReader.h"
#include "review/ReviewLogs.h"
#include "review/qt/ChannelPanel.h"
#include "review/qt/ChannelScaleDialog.h"
#include "review/qt/HitCountPanel.h"
#include "review/qt/LogWindow.h"
#include "review/qt/ReviewChartView.h"
#include "review/qt/SettingsChannelScales.h"
#include "rom/RomImage.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/TableLookup.h"
#include "viewer/GraphMapping.h"

namespace tavo {
namespace {

class MemoryScales : public ChannelScales {
public:
    std::map<std::string, ChannelScale, std::less<>> kept;
    bool failing = false;

    std::optional<ChannelScale> scaleFor(std::string_view title) const override
    {
        const auto found = kept.find(title);
        return found == kept.end() ? std::nullopt : std::optional<ChannelScale>(found->second);
    }
    bool setScale(std::string_view title, const std::optional<ChannelScale>& scale) override
    {
        if (failing)
            return false;
        kept.erase(std::string(title));
        if (scale)
            kept.emplace(title, *scale);
        return true;
    }
};

class LogWindowTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    MemoryScales scales;
    TracePens pens = makeTracePens();
    std::unique_ptr<RomImage> rom = sample::makeSampleCalibration();
    LogFileContent log;
    std::unique_ptr<LogWindow> window;

    void open(const LogFileContent& content)
    {
        log = content;
        window = std::make_unique<LogWindow>(OpenedLog{dir.file("run.log"), logRunOf(log, test::defaultTitles())},
                                             LogWindowContext{*rom, scales, prompts, pens});
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // 40 rows every 62 ms: RPMs 20 + k, MAP 10 + 2k, the custom address 200.
    void openRamp()
    {
        std::vector<int> rpm, map, custom;
        for (int k = 0; k < 40; ++k) {
            rpm.push_back(20 + k);
            map.push_back(10 + 2 * k);
            custom.push_back(200);
        }
        open(test::knownLog({0, 3, 8}, {rpm, map, custom}));
    }
    QTableWidget& channelTable() { return *window->findChild<QTableWidget*>("channels"); }
    QString cell(int row, int column) { return channelTable().item(row, column)->text(); }
    QString cursorText() { return window->findChild<QLabel*>("cursorText")->text(); }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&window->chart(), static_cast<Qt::Key>(key), modifiers);
    }
    // Pixels of one colour inside the plot.
    int pixelsOf(const QImage& picture, QRgb colour)
    {
        const PlotRect plot = window->chart().plot();
        int count = 0;
        for (int y = plot.top; y <= plot.bottom(); ++y)
            for (int x = plot.left; x <= plot.right(); ++x)
                count += (picture.pixel(x, y) | 0xFF000000U) == (colour | 0xFF000000U);
        return count;
    }
};

TEST_F(LogWindowTest, moves_the_cursor_by_keys_and_mouse_and_reads_every_channel_raw_and_in_units)
{
    scales.kept["RPMs"] = {32, 0, "RPM"};
    openRamp();
    EXPECT_EQ(window->windowTitle(), "run.log - Log Review");
    EXPECT_FALSE(window->isModal());
    ASSERT_EQ(channelTable().rowCount(), 3);
    EXPECT_EQ(cell(0, ChannelPanel::TitleColumn), "RPMs");
    EXPECT_EQ(cell(2, ChannelPanel::TitleColumn), "Custom");
    EXPECT_EQ(cursorText(), "Row 1 of 40   0.000 s");
    EXPECT_EQ(cell(0, ChannelPanel::RawColumn), "20");
    EXPECT_EQ(cell(0, ChannelPanel::ValueColumn), "640 RPM");
    EXPECT_EQ(cell(1, ChannelPanel::RawColumn), "10");
    EXPECT_EQ(cell(1, ChannelPanel::ValueColumn), "") << "no scale: the raw byte only";

    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(cursorText(), "Row 4 of 40   0.186 s");
    EXPECT_EQ(cell(0, ChannelPanel::RawColumn), "23");
    EXPECT_EQ(cell(0, ChannelPanel::ValueColumn), "736 RPM");
    EXPECT_EQ(cell(1, ChannelPanel::RawColumn), "16");
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(window->chart().view().cursorRow, 13);
    key(Qt::Key_End);
    EXPECT_EQ(cell(0, ChannelPanel::RawColumn), "59");
    key(Qt::Key_Right);
    EXPECT_EQ(window->chart().view().cursorRow, 39) << "the last row stays the last";
    key(Qt::Key_Home);
    EXPECT_EQ(window->chart().view().cursorRow, 0);

    const PlotRect plot = window->chart().plot();
    const double x = xOfTime(window->chart().view().window, plot, 20 * 0.062);
    QTest::mouseClick(&window->chart(), Qt::LeftButton, Qt::NoModifier, QPoint(static_cast<int>(std::lround(x)), plot.top + 10));
    EXPECT_EQ(window->chart().view().cursorRow, 20);
    EXPECT_EQ(cell(1, ChannelPanel::RawColumn), "50");
    EXPECT_EQ(cursorText(), "Row 21 of 40   1.240 s");
}

TEST_F(LogWindowTest, a_hidden_channel_leaves_the_chart_and_the_legend_names_it_still)
{
    openRamp();
    const QRgb red = qRgb(255, 0, 0);  // channel 4, MAP
    EXPECT_GT(pixelsOf(window->chart().picture(), red), 20);
    channelTable().item(1, ChannelPanel::TitleColumn)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(window->chart().view().shown[1]);
    const QImage hidden = window->chart().picture();
    EXPECT_EQ(pixelsOf(hidden, red), 0);
    EXPECT_GT(pixelsOf(hidden, qRgb(255, 255, 255)), 20) << "RPMs stays";
    int legendRed = 0;
    for (int y = 0; y < window->chart().plot().top; ++y)
        for (int x = 0; x < hidden.width(); ++x)
            legendRed += (hidden.pixel(x, y) | 0xFF000000U) == red;
    EXPECT_GT(legendRed, 0) << "the swatch's outline";
}

TEST_F(LogWindowTest, edits_a_scale_per_title_says_what_it_refuses_and_forgets_it_on_no_scale)
{
    openRamp();
    std::vector<std::function<void(ChannelScaleDialog&)>> steps;
    window->setModalRunner([&steps](QDialog& dialog) {
        auto& scale = static_cast<ChannelScaleDialog&>(dialog);
        steps.front()(scale);
        steps.erase(steps.begin());
        return dialog.result();
    });
    auto field = [](QDialog& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); };
    steps.push_back([&](ChannelScaleDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Channel Scale");
        field(dialog, "factor")->setText("abc");
        dialog.accept();
        EXPECT_EQ(dialog.findChild<QLabel*>("problem")->text(), "The factor is not a number.");
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        field(dialog, "factor")->setText("0.5");
        field(dialog, "offset")->setText("-40");
        field(dialog, "unit")->setText("°C");
        dialog.accept();
    });
    window->channels().editScale(1);
    EXPECT_EQ(scales.kept.at("MAP"), (ChannelScale{0.5, -40, "°C"}));
    EXPECT_EQ(cell(1, ChannelPanel::ValueColumn), "-35 °C");

    steps.push_back([&](ChannelScaleDialog& dialog) {
        EXPECT_EQ(field(dialog, "factor")->text(), "0.5") << "the kept scale";
        QTest::mouseClick(dialog.findChild<QPushButton*>("noScale"), Qt::LeftButton);
        dialog.accept();
    });
    window->channels().editScale(1);
    EXPECT_FALSE(scales.kept.count("MAP"));
    EXPECT_EQ(cell(1, ChannelPanel::ValueColumn), "");

    scales.failing = true;
    steps.push_back([&](ChannelScaleDialog& dialog) {
        field(dialog, "factor")->setText("2");
        dialog.accept();
    });
    window->channels().editScale(0);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Unable to keep the scale of RPMs: TaVO's settings file cannot be written.");
    EXPECT_EQ(cell(0, ChannelPanel::ValueColumn), "");
}

TEST(SettingsChannelScales, keep_a_scale_per_title_in_tavos_settings_file_and_forget_it)
{
    const QString file = QSettings(QSettings::IniFormat, QSettings::UserScope, "TaVO", "TaVO").fileName();
    EXPECT_FALSE(file.startsWith(QDir::homePath() + "/.config")) << "the test run's own folder: " << file.toStdString();
    {
        SettingsChannelScales scales;
        EXPECT_FALSE(scales.scaleFor("Advance/Retard"));
        EXPECT_TRUE(scales.setScale("Advance/Retard", ChannelScale{0.0078125, -64, "°"}));
        EXPECT_TRUE(scales.setScale("RPMs", ChannelScale{32, 0, "RPM"}));
    }
    SettingsChannelScales again;
    EXPECT_EQ(again.scaleFor("Advance/Retard"), (ChannelScale{0.0078125, -64, "°"}));
    EXPECT_FALSE(again.scaleFor("Advance"));
    EXPECT_TRUE(again.setScale("RPMs", std::nullopt));
    EXPECT_FALSE(again.scaleFor("RPMs"));
    EXPECT_TRUE(again.setScale("Advance/Retard", std::nullopt));
}

TEST_F(LogWindowTest, shows_hit_counts_of_a_working_image_table_against_a_logged_channel)
{
    // MAPTBL's x: 20, 40, ..., 200. MAP logged as 10 (below), 20, 30 (a tie: the
    // lower x), 31, 200, 201 and 255 (above).
    open(test::knownLog({0, 3}, {{1, 2, 3, 4, 5, 6, 7}, {10, 20, 30, 31, 200, 201, 255}}));
    HitCountPanel& hits = window->hits();
    ASSERT_TRUE(hits.chooseTable(findTableIndex(*rom, "MAPTBL")));
    hits.chooseChannel(1);
    const HitCounts& counts = hits.counts();
    EXPECT_EQ(counts.hits, (std::vector<int>{2, 1, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(counts.below, 1);
    EXPECT_EQ(counts.above, 2);
    EXPECT_EQ(window->findChild<QLabel*>("hitNote")->text(),
              "4 of 7 rows fell on a point; 1 below the smallest x, 2 above the largest.");
    auto* points = window->findChild<QTableWidget*>("hitPoints");
    ASSERT_EQ(points->rowCount(), 10);
    EXPECT_EQ(points->item(0, 1)->text(), "20");
    EXPECT_EQ(points->item(0, 2)->text(), "40");
    EXPECT_EQ(points->item(0, 3)->text(), "2");
    EXPECT_EQ(points->item(9, 3)->text(), "1");

    // The busiest point's cell is shaded over the white of the graph; an unhit one is not.
    const QImage& picture = hits.picture();
    ASSERT_FALSE(picture.isNull());
    const int scale = (picture.width() - 2 * kHitMargin) / kGraphBitmapSize;
    auto at = [&](int rawX) { return picture.pixel(kHitMargin + rawX * scale, kHitMargin + 10 * scale); };
    EXPECT_NE(at(24), qRgb(255, 255, 255)) << "point 0 owns 20 to 30";
    EXPECT_EQ(at(100), qRgb(255, 255, 255));

    rom->loaded = false;
    hits.refresh();
    EXPECT_TRUE(hits.picture().isNull());
    EXPECT_EQ(window->findChild<QLabel*>("hitNote")->text(),
              "Load a working ROM image to count how often the log fell on its table points.");
}

TEST_F(LogWindowTest, a_value_channel_lists_its_mean_min_and_max_at_each_point_in_units_where_it_has_a_scale)
{
    // MAP (channel 4) feeds MAPTBL's x: 20 and 30 (a tie) count for point 0, 200 for point 9; RPMs beside it.
    open(test::knownLog({0, 3}, {{10, 30, 70}, {20, 30, 200}}));
    HitCountPanel& hits = window->hits();
    ASSERT_TRUE(hits.chooseTable(findTableIndex(*rom, "MAPTBL")));
    hits.chooseChannel(1);
    auto* points = window->findChild<QTableWidget*>("hitPoints");
    EXPECT_EQ(points->columnCount(), 4) << "no value channel yet";
    hits.chooseValueChannel(0);
    ASSERT_EQ(points->columnCount(), 7);
    EXPECT_EQ(points->horizontalHeaderItem(4)->text(), "Mean");
    EXPECT_EQ(points->item(0, 4)->text(), "20");
    EXPECT_EQ(points->item(0, 5)->text(), "10");
    EXPECT_EQ(points->item(0, 6)->text(), "30");
    EXPECT_EQ(points->item(1, 4)->text(), "-") << "no row counted for point 1";

    auto* axes = window->findChild<QLabel*>("hitAxes");
    EXPECT_TRUE(axes->text().endsWith("\nvalue: RPMs (raw bytes)")) << axes->text().toStdString();

    scales.kept.emplace("RPMs", ChannelScale{32, 0, "RPM"});
    hits.refresh();
    EXPECT_EQ(points->item(0, 4)->text(), "640");
    EXPECT_EQ(points->item(9, 6)->text(), "2240");
    EXPECT_TRUE(axes->text().endsWith("\nvalue: RPMs (RPM)")) << axes->text().toStdString();
    hits.chooseValueChannel(-1);
    EXPECT_EQ(points->columnCount(), 4);
}

TEST_F(LogWindowTest, zooms_by_keys_wheel_and_actions_and_the_scroll_bar_follows_the_window)
{
    std::vector<int> ramp(101);
    for (int k = 0; k <= 100; ++k)
        ramp[static_cast<std::size_t>(k)] = k;
    open(test::knownLog({0}, {ramp}, 100));
    ReviewChartView& chart = window->chart();
    EXPECT_EQ(chart.view().window, (TimeWindow{0, 10}));
    EXPECT_EQ(window->scrollBar().maximum(), 0);

    key(Qt::Key_Plus);  // around the cursor at 0 s
    EXPECT_EQ(chart.view().window, (TimeWindow{0, 5}));
    EXPECT_EQ(window->scrollBar().maximum(), 5000);
    EXPECT_EQ(window->scrollBar().pageStep(), 5000);
    window->scrollBar().setValue(2500);
    EXPECT_DOUBLE_EQ(chart.view().window.start, 2.5);

    const PlotRect plot = chart.plot();
    const QPointF middle(xOfTime(chart.view().window, plot, 5.0), plot.top + 5);
    QWheelEvent roll(middle, chart.mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(&chart, &roll);
    EXPECT_NEAR(chart.view().window.span, 4, 1e-9);
    EXPECT_NEAR(chart.view().window.start, 3, 0.01) << "5 s stays under the mouse";
    QWheelEvent sideways(middle, chart.mapToGlobal(middle), {}, {0, -120}, Qt::NoButton, Qt::ShiftModifier,
                         Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &sideways);
    EXPECT_NEAR(chart.view().window.start, 3.4, 0.01) << "a tenth of the window on";
    EXPECT_EQ(window->scrollBar().value(), 3400);

    key(Qt::Key_End);
    EXPECT_DOUBLE_EQ(chart.view().window.end(), 10) << "the cursor is kept in sight";
    window->findChild<QAction*>("fitAll")->trigger();
    EXPECT_EQ(chart.view().window, (TimeWindow{0, 10}));
    window->findChild<QAction*>("zoomIn")->trigger();
    EXPECT_EQ(chart.view().window, (TimeWindow{5, 5})) << "around the cursor at the end";
}

TEST_F(LogWindowTest, exports_the_view_as_png_and_the_rows_as_the_csv_tavo_writes)
{
    openRamp();
    prompts.saveNames = {dir.file("view"), dir.file("rows.csv"), dir.file("no-folder/view.png")};
    window->exportPng();
    ASSERT_EQ(prompts.saveRequests.size(), 1u);
    EXPECT_EQ(prompts.saveRequests[0].title, "Export Chart");
    EXPECT_EQ(prompts.saveRequests[0].initialPath, dir.file("run.png"));
    const QImage png(QString::fromStdString(dir.file("view.png")));
    EXPECT_EQ(png.size(), window->chart().size()) << "the extension added";
    window->exportCsv();
    EXPECT_EQ(test::readText(dir.file("rows.csv")), logCsv(log, test::defaultTitles(), false));
    window->exportPng();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              "Unable to save the chart:\n" + dir.file("no-folder/view.png") + "\nNo such file or folder.");
}

TEST_F(LogWindowTest, the_export_choosers_and_their_messages_belong_to_the_log_window)
{
    std::vector<QWidget*> owners;
    auto windowPrompts = std::make_shared<test::ScriptedPrompts>();
    LogWindowContext context{*rom, scales, prompts, pens};
    context.promptsFor = [&](QWidget* owner) {
        owners.push_back(owner);
        return windowPrompts;
    };
    LogWindow own(OpenedLog{dir.file("run.log"), logRunOf(test::knownLog({0}, {{1, 2, 3}}), test::defaultTitles())},
                  context);
    ASSERT_EQ(owners, (std::vector<QWidget*>{&own}));
    windowPrompts->saveNames = {dir.file("no-folder/view.png"), std::nullopt};
    own.exportPng();
    own.exportCsv();
    EXPECT_EQ(windowPrompts->saveRequests.size(), 2u);
    EXPECT_EQ(windowPrompts->messages.size(), 1u) << "the failed save said over the log window";
    EXPECT_TRUE(prompts.saveRequests.empty()) << "nothing asked over the main window";
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(LogWindowTest, a_silence_in_measured_times_breaks_the_traces_is_marked_and_the_read_out_says_how_long)
{
    std::string csv = "row,seconds,RPMs\n";
    for (int k = 0; k < 40; ++k)
        csv += std::to_string(k) + "," + std::to_string(k < 20 ? k * 0.1 : 43.0 + k * 0.1) + ",100\n";
    LogRunRead read = readLogRun(csv, test::defaultTitles());
    ASSERT_TRUE(read.run) << read.problem;
    window = std::make_unique<LogWindow>(OpenedLog{dir.file("drive.csv"), std::move(*read.run)},
                                         LogWindowContext{*rom, scales, prompts, pens});
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QImage picture = window->chart().picture();
    const PlotRect plot = window->chart().plot();
    EXPECT_GT(pixelsOf(picture, qRgb(96, 0, 0)), plot.width * plot.height / 2) << "the silence is most of the run";
    // The flat trace at 100 leaves the gap's columns untouched: no line across.
    const int y = yOfValue(plot, 100);
    const int middle = plot.left + plot.width / 2;
    EXPECT_EQ(picture.pixel(middle, y) | 0xFF000000U, qRgb(96, 0, 0) | 0xFF000000U);

    window->chart().setCursorRow(19);
    EXPECT_TRUE(cursorText().endsWith("gap of 43.100 s after this row")) << cursorText().toStdString();
    window->chart().setCursorRow(20);
    EXPECT_TRUE(cursorText().endsWith("gap of 43.100 s before this row")) << cursorText().toStdString();
    window->chart().setCursorRow(25);
    EXPECT_FALSE(cursorText().contains("gap"));
}

}  // namespace
}  // namespace tavo
