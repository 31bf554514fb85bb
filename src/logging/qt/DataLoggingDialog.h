#pragma once
// "Data Logging": choose the channels and the rate, press LOG, watch the
// strip chart, save the ring. The ticks run on the link thread against a
// working copy of the acquisition state handed over at opening; each tick's
// outcome comes back in tick order and is applied to the application
// state's acquisition, which the chart, Save and every later opening read.
// A slow or silent ECM therefore never holds up the window.

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/SerialSettings.h"
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
class LinkThread;
class LogGraphView;
class UserPrompts;
struct LoggingConfig;

// What the dialog works with, all owned elsewhere and outliving it.
struct DataLoggingContext {
    AcquisitionState& acquisition;
    const LoggingConfig& config;
    LinkThread& link;
    std::optional<std::string> device;  // the port's device (nothing: none to open)
    SerialSettings settings;
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
    // the chart goes, the link disconnects when LOG is on; the flags stay.
    void accept() override;
    void reject() override;

    const LogGraph& graph() const { return graph_; }

private:
    // What the link thread's ticks own: a copy of the acquisition state, the
    // channels and the custom address field's text.
    struct TickWork {
        AcquisitionState acquisition;
        LogChannels channels;
        CustomAddressText customText{};
    };

    void buildControls();
    void startTicks();
    void showTick(const TickRecord& record);
    void maskChanged();
    void customTextChanged();
    void rateChosen(std::int32_t periodMs);
    void smoothingToggled(bool on);
    void logToggled(bool pressed);
    void save();
    void close(int command);
    // Runs `change` on the window's state now and on the ticks' copy between two ticks.
    void change(const std::function<void(AcquisitionState&)>& change);

    DataLoggingContext context_;
    AcquisitionState& acquisition_;
    std::shared_ptr<TickWork> work_;
    LogGraph graph_;
    bool ticking_ = false;
    QPointer<ConnectingDialog> connecting_;

    std::array<QCheckBox*, 10> maskBoxes_{};
    std::array<QRadioButton*, kSampleRates.size()> rates_{};
    QLineEdit* custom_ = nullptr;
    QPushButton* log_ = nullptr;
    QPushButton* smoothing_ = nullptr;
    QLineEdit* sync_ = nullptr;
    QLabel* saved_ = nullptr;
    LogGraphView* view_ = nullptr;
};

// "Data Log...": runs the dialog with `runModal`.
int openDataLoggingDialog(DataLoggingContext context, QWidget* parent, const std::function<int(QDialog&)>& runModal);

}  // namespace tavo
