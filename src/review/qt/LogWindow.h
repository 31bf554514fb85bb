#pragma once
// The log window ("Open Log..."): one logged run reviewed beside the main
// window, which stays usable; several can be open. The chart with its
// scroll bar on the left; on the right the cursor's read-out of every
// channel and the table hit counts. The view exports as PNG, the rows as
// the CSV TaVO writes. Closing it changes no file.

#include <QMainWindow>

#include <functional>
#include <memory>

#include "common/qt/ModalRunner.h"
#include "logging/paint/TracePens.h"
#include "review/LogRunReader.h"

class QScrollBar;
class QTabWidget;

namespace tavo {

class TableChannelChoices;

class ChannelPanel;
class ChannelScales;
class HitCountPanel;
class ReviewChartView;
class UserPrompts;
struct RomImage;

// What the window works with, all owned elsewhere and outliving it.
struct LogWindowContext {
    const RomImage& workingImage;  // the hit counts' tables
    ChannelScales& scales;
    UserPrompts& prompts;
    const TracePens& pens;
    // Prompts whose dialogs the given window owns (the export choosers and
    // the messages the window shows), so that they come up over it and hand
    // the focus back to it; `prompts` when not given.
    std::function<std::shared_ptr<UserPrompts>(QWidget* owner)> promptsFor = {};
    // Each table's x-axis channel, shared with the Quick Viewer's live point.
    TableChannelChoices* channelChoices = nullptr;
};

class LogWindow : public QMainWindow {
    Q_OBJECT
public:
    LogWindow(OpenedLog log, const LogWindowContext& context, QWidget* parent = nullptr);
    ~LogWindow() override;

    const OpenedLog& log() const { return log_; }
    ReviewChartView& chart() { return *chart_; }
    ChannelPanel& channels() { return *channels_; }
    HitCountPanel& hits() { return *hits_; }
    QScrollBar& scrollBar() { return *scroll_; }
    // How the scale dialog is run; tests replace it.
    void setModalRunner(ModalRunner run);

    void exportPng();
    void exportCsv();

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildActions();
    void syncScrollBar();

    UserPrompts& prompts() { return ownPrompts_ ? *ownPrompts_ : context_.prompts; }

    OpenedLog log_;
    LogWindowContext context_;
    std::shared_ptr<UserPrompts> ownPrompts_;
    ReviewChartView* chart_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    ChannelPanel* channels_ = nullptr;
    HitCountPanel* hits_ = nullptr;
};

}  // namespace tavo
