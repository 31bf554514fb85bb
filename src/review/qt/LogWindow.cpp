#include "review/qt/LogWindow.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

#include "common/PathNames.h"
#include "common/UserPrompts.h"
#include "common/qt/QtText.h"
#include "review/qt/ChannelPanel.h"
#include "review/qt/HitCountPanel.h"
#include "review/qt/ReviewChartView.h"

namespace tavo {

namespace {

// The scroll bar counts milliseconds.
constexpr double kScrollUnitsPerSecond = 1000.0;

std::string fileNameOf(const std::string& path)
{
    // The system's separators: on Windows a path names its folders with '\\'.
    const std::size_t slash = lastPathSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The log's path with another extension: "run.log" gives "run.png".
std::string besideLog(const std::string& path, const char* extension)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

std::string withExtension(const std::string& path, const char* extension)
{
    return fileNameOf(path).find('.') == std::string::npos ? path + extension : path;
}

}  // namespace

LogWindow::LogWindow(OpenedLog log, const LogWindowContext& context, QWidget* parent)
    : QMainWindow(parent), log_(std::move(log)), context_(context)
{
    setObjectName("logWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(pathText(fileNameOf(log_.path)) + " - Log Review");
    if (context_.promptsFor)
        ownPrompts_ = context_.promptsFor(this);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    chart_ = new ReviewChartView(log_.run, context_.pens, left);
    scroll_ = new QScrollBar(Qt::Horizontal, left);
    scroll_->setObjectName("timeScroll");
    leftLayout->addWidget(chart_, 1);
    leftLayout->addWidget(scroll_);

    tabs_ = new QTabWidget;
    channels_ = new ChannelPanel(log_.run, context_.pens, context_.scales, prompts());
    hits_ = new HitCountPanel(log_.run, context_.workingImage);
    tabs_->addTab(channels_, "&Cursor");
    tabs_->addTab(hits_, "&Hit Counts");

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(left);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({760, 480});
    setCentralWidget(splitter);
    statusBar()->addWidget(new QLabel(pathText(log_.path) + "   " + QString::number(log_.run.rowCount()) + " rows"));

    connect(chart_, &ReviewChartView::cursorMoved, channels_, &ChannelPanel::showRow);
    connect(chart_, &ReviewChartView::windowChanged, this, &LogWindow::syncScrollBar);
    connect(channels_, &ChannelPanel::shownChanged, this,
            [this](int channel, bool shown) { chart_->setShown(static_cast<std::size_t>(channel), shown); });
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
        const TimeWindow all = tavo::fitAll(chart_->range());
        chart_->setWindow({all.start + value / kScrollUnitsPerSecond, chart_->view().window.span});
    });
    hits_->setScales(context_.scales);
    if (context_.channelChoices)
        hits_->setChannelChoices(*context_.channelChoices);
    buildActions();
    channels_->showRow(chart_->view().cursorRow);
    syncScrollBar();
    resize(1240, 720);
    chart_->setFocus();
}

LogWindow::~LogWindow() = default;

void LogWindow::setModalRunner(ModalRunner run)
{
    channels_->runModal = std::move(run);
}

void LogWindow::buildActions()
{
    QToolBar* tools = addToolBar("Log");
    tools->setObjectName("logTools");
    tools->setMovable(false);
    auto add = [&](const QString& text, const QString& name, const QKeySequence& keys, auto slot) {
        QAction* action = tools->addAction(text);
        action->setObjectName(name);
        if (!keys.isEmpty()) {
            action->setShortcut(keys);
            action->setToolTip(text + " (" + keys.toString(QKeySequence::NativeText) + ")");
        }
        connect(action, &QAction::triggered, this, slot);
    };
    add("Fit All", "fitAll", QKeySequence(Qt::CTRL | Qt::Key_0), [this] { chart_->fitAll(); });
    add("Zoom In", "zoomIn", QKeySequence(QKeySequence::ZoomIn), [this] { chart_->zoom(2.0); });
    add("Zoom Out", "zoomOut", QKeySequence(QKeySequence::ZoomOut), [this] { chart_->zoom(0.5); });
    tools->addSeparator();
    add("Export PNG...", "exportPng", QKeySequence(), [this] { exportPng(); });
    add("Export CSV...", "exportCsv", QKeySequence(), [this] { exportCsv(); });
    auto* closing = new QAction(this);
    closing->setShortcut(QKeySequence::Close);
    connect(closing, &QAction::triggered, this, &QWidget::close);
    addAction(closing);
}

void LogWindow::syncScrollBar()
{
    const TimeWindow all = tavo::fitAll(chart_->range());
    const TimeWindow& shown = chart_->view().window;
    const QSignalBlocker quiet(scroll_);
    scroll_->setRange(0, static_cast<int>(std::lround((all.span - shown.span) * kScrollUnitsPerSecond)));
    scroll_->setPageStep(std::max(1, static_cast<int>(std::lround(shown.span * kScrollUnitsPerSecond))));
    scroll_->setSingleStep(std::max(1, scroll_->pageStep() / 10));
    scroll_->setValue(static_cast<int>(std::lround((shown.start - all.start) * kScrollUnitsPerSecond)));
}

void LogWindow::changeEvent(QEvent* event)
{
    // Back at the front: another window may have changed a scale, the
    // working image may have been loaded or edited.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        channels_->refreshScales();
        hits_->refresh();
    }
    QMainWindow::changeEvent(event);
}

void LogWindow::exportPng()
{
    FileRequest request{"Export Chart", "PNG Images", "*.png", besideLog(log_.path, ".png")};
    request.confirmReplace = true;
    const auto chosen = prompts().chooseFileToSaveAs(request);
    if (!chosen)
        return;
    const std::string path = withExtension(chosen->path, ".png");
    if (const FileStatus written = savePng(path, chart_->picture()); !written)
        prompts().showMessage("Unable to save the chart:\n" + path + "\n" + written.reason(), "TaVO Error",
                                     MessageIcon::Warning);
}

void LogWindow::exportCsv()
{
    FileRequest request{"Export Rows", "CSV Files", "*.csv", besideLog(log_.path, ".csv")};
    request.confirmReplace = true;
    const auto chosen = prompts().chooseFileToSaveAs(request);
    if (!chosen)
        return;
    const std::string path = withExtension(chosen->path, ".csv");
    if (const FileStatus written = writeFileAtomically(path, runCsv(log_.run)); !written)
        prompts().showMessage("Unable to save the CSV file:\n" + path + "\n" + written.reason(), "TaVO Error",
                                     MessageIcon::Warning);
}

}  // namespace tavo
