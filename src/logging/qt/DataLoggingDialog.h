#pragma once
// "Data Logging": choose the channels and the rate, press LOG, watch the
// strip chart, save the ring. The window holds no logging state: it shows
// the LoggingSession (the run, the link, the acquisition state) and hands it
// the user's input, so a reopened window draws LOG as the run has it and the
// chart from the rows already in the ring. A slow or silent ECM never holds
// up the window: the link thread does the waiting.

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "link/LinkCheck.h"
#include "logging/Acquisition.h"
#include "logging/paint/LogGraphPainter.h"
#include "logging/paint/TracePens.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavo {

class ConnectingDialog;
class LoggingSession;
class LogGraphView;
class UserPrompts;
struct LoggingConfig;

// What the dialog works with, all owned elsewhere and outliving it.
struct DataLoggingContext {
    LoggingSession& session;
    const LoggingConfig& config;
    const TracePens& pens;
    UserPrompts& prompts;
    std::string logFolder;  // where "&Save..." writes
};

class DataLoggingDialog : public QDialog {
    Q_OBJECT
public:
    explicit DataLoggingDialog(DataLoggingContext context, QWidget* parent = nullptr);
    ~DataLoggingDialog() override;

    // OK, and Escape or the close box (the cancel command): the ticks stop,
    // the link goes when LOG is on (its last row checked first); the flags stay.
    void accept() override;
    void reject() override;

    const LogGraph& graph() const { return graph_; }

private:
    void buildControls();
    void observeSession();
    void showTick(const TickRecord& record);
    void showConnecting(bool running);
    void showStatus();
    // "reply 0.4 ms" under the sync indicator, and what to do about a slow adapter.
    void showReplyTimes();
    void maskChanged();
    void save();
    void close(int command);

    DataLoggingContext context_;
    LoggingSession& session_;
    const AcquisitionState& acquisition_;
    LogGraph graph_;
    bool afterGap_ = false;  // the chart's traces restart at the next stored row
    bool open_ = false;
    QPointer<ConnectingDialog> connecting_;
    QString savedText_;

    std::array<QCheckBox*, 10> maskBoxes_{};
    std::array<QRadioButton*, kSampleRates.size()> rates_{};
    QLineEdit* custom_ = nullptr;
    QPushButton* log_ = nullptr;
    QPushButton* smoothing_ = nullptr;
    QLineEdit* sync_ = nullptr;
    QLabel* saved_ = nullptr;
    QLabel* replyTime_ = nullptr;
    QLabel* slowAdapter_ = nullptr;
    int heightWithoutAdvice_ = 0;
    std::uint64_t repliesShown_ = 0;
    std::optional<AdapterLatency> adapter_;  // looked up once a connection is found slow
    LogGraphView* view_ = nullptr;
};

// "Data Log...": runs the dialog with `runModal`.
int openDataLoggingDialog(DataLoggingContext context, QWidget* parent, const std::function<int(QDialog&)>& runModal);

}  // namespace tavo
