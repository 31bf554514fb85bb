#pragma once
// The main window: the menu bar and accelerators that reach every command,
// a client area showing the working image's path, and the unsaved-changes
// guard on closing.

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "app/qt/QtPrompts.h"
#include "logging/paint/TracePens.h"
#include "common/qt/ModalRunner.h"

class QAction;
class QDialog;

namespace tavo {

struct AppState;
class ChannelScales;
class LinkThread;
class LoggingSession;
class TableChannelChoices;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Uses `prompts` for every question and message when given (tests pass a
    // scripted fake), else Qt dialogs owned by this window.
    explicit MainWindow(AppState& state, RomPrompts* prompts = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs a menu or accelerator command.
    void runCommand(int id);
    // Names the Edit menu's Undo and Redo after the steps they would take,
    // and disables them when there is none.
    void updateEditMenu();

    // Loads the image file as the working image, as "Load Working ROM
    // Image..." does once a file is chosen (the image named on the command line).
    void openImage(const std::string& path);

    // How every modal dialog of the window is run; tests replace it to look
    // at the dialog instead of blocking on it.
    ModalRunner runModal = execModal;

    RomPrompts& prompts() { return *prompts_; }
    QAction* actionFor(int id) const;
    const TracePens& tracePens() const { return tracePens_; }
    // The ECM link's thread: the port and every exchange live there.
    LinkThread& link() { return *link_; }
    // Data logging as the whole run sees it.
    LoggingSession& logging() { return *logging_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void runCommandOnly(int id);
    void buildMenus();
    void buildAccelerators();
    void showQuickViewer();
    void openSerialSetup();
    void openLog();
    std::string logFolder() const;
    int runDialog(std::unique_ptr<QDialog> dialog);

    AppState& state_;
    std::unique_ptr<QtPrompts> ownPrompts_;
    RomPrompts* prompts_;
    std::map<int, QAction*> actions_;
    TracePens tracePens_;
    std::unique_ptr<LinkThread> link_;
    // After the link: it goes first, while the link it talks to is still there.
    std::unique_ptr<LoggingSession> logging_;
    // The log windows' channel scales, in TaVO's settings.
    std::unique_ptr<ChannelScales> scales_;
    // Each table's x-axis channel (log windows' hit counts, the live point), in TaVO's settings.
    std::unique_ptr<TableChannelChoices> channelChoices_;
};

}  // namespace tavo
