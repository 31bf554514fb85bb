#include "app/qt/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>

#include "app/AppState.h"
#include "app/CommandIds.h"
#include "app/MenuLayout.h"
#include "app/ShellCommands.h"
#include "app/WindowCascade.h"
#include "app/qt/AboutDialog.h"
#include "app/qt/PlaceholderDialogs.h"
#include "app/qt/ProgramLook.h"
#include "common/qt/QtText.h"
#include "analysis/qt/FuelingDialog.h"
#include "link/PortNames.h"
#include "link/qt/LinkThread.h"
#include "link/qt/LiveRamDialog.h"
#include "link/qt/SerialPortDialog.h"
#include "logging/LogSaving.h"
#include "logging/qt/DataLoggingDialog.h"
#include "live/qt/LiveTuning.h"
#include "logging/qt/LoggingSession.h"
#include "logging/qt/LoggingVariablesDialog.h"
#include "review/LogRunReader.h"
#include "review/qt/LogWindow.h"
#include "review/qt/SettingsChannelScales.h"
#include "review/qt/SettingsTableChannelChoices.h"
#include "rom/RomInformation.h"
#include "rom/RomScan.h"
#include "viewer/qt/QuickViewerDialog.h"

namespace tavo {

namespace {

// How long the live marker's trail is: "Live/trailSeconds" in TaVO's
// settings, 3 seconds unless set there; 0 turns the trail off.
double liveTrailSeconds()
{
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, "TaVO", "TaVO");
    bool ok = false;
    const double seconds = settings.value("Live/trailSeconds", 3).toDouble(&ok);
    return ok ? std::clamp(seconds, 0.0, 60.0) : 3.0;
}

// What a window manager's frame may add around a window: its title bar and borders.
constexpr QSize kFrameAllowance(16, 40);

// The client area: the working image's path, top left, nothing else.
class PathView : public QWidget {
public:
    PathView(const AppState& state, QWidget* parent) : QWidget(parent), state_(state)
    {
        setObjectName("romPathView");
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const std::string& path = state_.workingImage.romPath;
        if (path.empty())
            return;
        QPainter painter(this);
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, pathText(path));
    }

private:
    const AppState& state_;
};

}  // namespace

MainWindow::MainWindow(AppState& state, RomPrompts* prompts, QWidget* parent)
    : QMainWindow(parent), state_(state), tracePens_(makeTracePens()),
      link_(std::make_unique<LinkThread>(state.link)), scales_(std::make_unique<SettingsChannelScales>()),
      channelChoices_(std::make_unique<SettingsTableChannelChoices>())
{
    logging_ = std::make_unique<LoggingSession>(state_.acquisition, state_.loggingConfig, *link_, [this] {
        return LinkTarget{portDevice(state_.loggingConfig.serial.port, state_.serialDevice),
                          state_.loggingConfig.serial};
    });
    if (!prompts) {
        ownPrompts_ = std::make_unique<QtPrompts>(this, [this] { centralWidget()->repaint(); });
        prompts = ownPrompts_.get();
    }
    prompts_ = prompts;

    setWindowTitle("TaVO");
    setWindowIcon(programIcon());
    setCentralWidget(new PathView(state_, this));
    buildMenus();
    buildAccelerators();
    updateEditMenu();
    resize(720, 420);
}

MainWindow::~MainWindow()
{
    // The log windows use the scales and the working image: they go first.
    qDeleteAll(findChildren<LogWindow*>(Qt::FindDirectChildrenOnly));
}

void MainWindow::buildMenus()
{
    std::function<void(QMenu*, const std::vector<MenuEntry>&)> fill =
        [&](QMenu* menu, const std::vector<MenuEntry>& entries) {
            for (const MenuEntry& entry : entries) {
                switch (entry.kind) {
                case MenuEntry::Kind::Separator:
                    menu->addSeparator();
                    break;
                case MenuEntry::Kind::Popup:
                    fill(menu->addMenu(QString::fromStdString(entry.text)), entry.children);
                    break;
                case MenuEntry::Kind::Command: {
                    // The text after "\t" is shown at the right as the shortcut;
                    // the keys themselves are the accelerator table's.
                    QAction* action = menu->addAction(QString::fromStdString(entry.text));
                    action->setEnabled(entry.enabled);
                    action->setObjectName(QString::number(entry.id));
                    const int id = entry.id;
                    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
                    actions_[id] = action;
                    break;
                }
                }
            }
        };
    for (const MenuEntry& popup : mainMenu())
        fill(menuBar()->addMenu(QString::fromStdString(popup.text)), popup.children);
}

void MainWindow::buildAccelerators()
{
    for (const Accelerator& accelerator : accelerators()) {
        const int id = accelerator.id;
        auto* shortcut = new QShortcut(QKeySequence(QString::fromStdString(accelerator.keys)), this);
        connect(shortcut, &QShortcut::activated, this, [this, id] { runCommand(id); });
    }
    // On most keyboards "?" is a shifted key: Alt+Shift+? reaches About too.
    auto* shifted = new QShortcut(QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Question), this);
    connect(shifted, &QShortcut::activated, this, [this] { runCommand(command::About); });
}

QAction* MainWindow::actionFor(int id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

int MainWindow::runDialog(std::unique_ptr<QDialog> dialog)
{
    return runModal(*dialog);
}

void MainWindow::runCommand(int id)
{
    runCommandOnly(id);
    // Any command may have recorded, taken back or forgotten steps.
    updateEditMenu();
}

void MainWindow::updateEditMenu()
{
    const EditHistory& history = state_.history;
    QAction* undo = actionFor(command::Undo);
    QAction* redo = actionFor(command::Redo);
    undo->setText(QString::fromStdString(undoEntryText(history.undoName())));
    undo->setEnabled(history.canUndo());
    redo->setText(QString::fromStdString(redoEntryText(history.redoName())));
    redo->setEnabled(history.canRedo());
}

void MainWindow::runCommandOnly(int id)
{
    switch (id) {
    case command::LoadWorkingImage:
        // The viewer opens after every load, also a cancelled or refused one,
        // but not when the unsaved-changes question stopped the load.
        if (loadWorkingImage(state_, *prompts_))
            showQuickViewer();
        break;
    case command::EditRomInformation:
        editWorkingRomInformation(state_, *prompts_);
        break;
    case command::Undo:
        state_.history.undo(state_.workingImage);
        break;
    case command::Redo:
        state_.history.redo(state_.workingImage);
        break;
    case command::SaveRomImage:
        saveWorkingImage(state_, *prompts_);
        centralWidget()->update();
        break;
    case command::SaveRomImageAs:
        saveWorkingImageAs(state_, *prompts_);
        centralWidget()->update();
        break;
    case command::LoadComparisonImage:
        loadComparisonImage(state_, *prompts_);
        break;
    case command::SaveTableData:
        saveTableData(state_, *prompts_);
        break;
    case command::Exit:
        close();
        break;
    case command::QuickViewer:
        showQuickViewer();
        break;
    case command::RomScan:
        // The definitions found stay unsaved until they are stored: closing
        // asks about them.
        // What was added goes on the status line: nothing to dismiss.
        if (const auto scan = scanWorkingImage(state_, *prompts_); scan && state_.workingImage.loaded)
            statusBar()->showMessage(QString::fromStdString(scanSummaryText(state_.workingImage, *scan)));
        centralWidget()->update();
        break;
    case command::Fueling:
        state_.analysisImage = &state_.workingImage;
        openFuelingDialog(this, *state_.analysisImage, state_.comparisonLoaded ? &state_.comparisonImage : nullptr,
                          *prompts_, runModal);
        break;
    case command::Timing:
        state_.analysisImage = &state_.workingImage;
        runDialog(makeEmptyPlaceholderDialog(183, "Timing", this));
        break;
    case command::DisassembleRom:
        runDialog(makeDisassembleDialog(this));
        break;
    case command::EditSourceCode:
        runDialog(makeEmptyPlaceholderDialog(179, "Dialog", this));
        break;
    case command::AssembleSourceCode:
        runDialog(makeEmptyPlaceholderDialog(180, "Dialog", this));
        break;
    case command::About:
        runDialog(std::make_unique<AboutDialog>(this));
        break;
    case command::SetupSerial:
        openSerialSetup();
        break;
    case command::LiveRamDisplay:
        openLiveRamDisplay(*link_, state_.liveRam, state_.link,
                           portDevice(state_.loggingConfig.serial.port, state_.serialDevice),
                           state_.loggingConfig.serial, this, runModal);
        break;
    case command::SetupLogging:
        if (runDialog(std::make_unique<LoggingVariablesDialog>(state_.loggingConfig, this)) == QDialog::Accepted)
            storeLoggingConfiguration(state_, kLoggingConfigFile);
        break;
    case command::DataLog:
        openDataLoggingDialog({*logging_, state_.loggingConfig, tracePens_, *prompts_, logFolder()}, this, runModal);
        break;
    case command::SaveCurrentLog:
        saveCurrentLog(state_.acquisition, state_.loggingConfig.channels, logFolder(), localTimeOfDay(), *prompts_);
        break;
    case command::OpenLog:
        openLog();
        break;
    default:
        // Print Report and Write NEW ROM Image have no function.
        break;
    }
}

std::string MainWindow::logFolder() const
{
    return state_.logFolder.empty() ? defaultLogFolder() : state_.logFolder;
}

void MainWindow::openImage(const std::string& path)
{
    loadWorkingImageFrom(state_, path, *prompts_);
    showQuickViewer();
    updateEditMenu();
}

void MainWindow::showQuickViewer()
{
    // Live tuning beside the graph, for this opening of the viewer.
    LiveTuning live({*logging_, state_.loggingConfig, state_.workingImage, *scales_, prompts_, channelChoices_.get(),
                     liveTrailSeconds()});
    openQuickViewer(this,
                    {state_.workingImage, state_.comparisonImage, state_.comparisonLoaded, state_.quickViewer,
                     state_.scalePercentages, *prompts_, &state_.history, &live},
                    runModal);
}

void MainWindow::openLog()
{
    auto opened = openLogForReview(*prompts_, logFolder(), state_.loggingConfig.channels);
    if (!opened)
        return;
    // Not modal: the main window stays usable, and each log has its own window.
    LogWindowContext context{state_.workingImage, *scales_, *prompts_, tracePens_};
    context.channelChoices = channelChoices_.get();
    if (ownPrompts_)
        context.promptsFor = [](QWidget* owner) { return std::make_shared<QtPrompts>(owner); };
    const int others = static_cast<int>(findChildren<LogWindow*>(Qt::FindDirectChildrenOnly).size());
    auto* window = new LogWindow(std::move(*opened), context, this);
    // Cascaded inside the screen, with room for the window's frame.
    const QRect screen = (window->screen() ? window->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const ScreenRect place = cascadePlace({screen.x(), screen.y(), screen.width() - kFrameAllowance.width(),
                                           screen.height() - kFrameAllowance.height()},
                                          window->width(), window->height(), others);
    window->resize(place.width, place.height);
    window->move(place.x, place.y);
    window->show();
}

void MainWindow::openSerialSetup()
{
    if (runDialog(std::make_unique<SerialPortDialog>(state_.loggingConfig.serial, state_.serialDevice, this)) ==
        QDialog::Accepted)
        storeLoggingConfiguration(state_, kLoggingConfigFile);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (confirmClose(state_, *prompts_) == CloseDecision::Stay) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace tavo
