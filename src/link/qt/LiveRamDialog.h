#pragma once
// "Live RAM Display": sixteen ECM RAM bytes refreshed by ticks on the link
// thread, a Bank button stepping through the page, a Speed button and the
// sync indicator. Only OK closes it.

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/EcmLink.h"
#include "link/LiveRam.h"

class QLineEdit;
class QPushButton;

namespace tavo {

class LinkThread;

class LiveRamDialog : public QDialog {
    Q_OBJECT
public:
    // Shows `shownLink` (refreshed by `link` after each tick); keeps its
    // position and period in `liveRam`.
    LiveRamDialog(LiveRamState& liveRam, const LinkState& shownLink, LinkThread& link, QWidget* parent = nullptr);
    ~LiveRamDialog() override;

    void accept() override;
    // Escape and the close box do nothing.
    void reject() override {}

private:
    void bank();
    void toggleSpeed();
    void showValues();
    void stopTicks();

    LiveRamState& liveRam_;
    const LinkState& shownLink_;
    LinkThread& link_;
    // The base the ticks query; only the link thread reads or writes it.
    std::shared_ptr<int> tickBase_;
    bool ticking_ = false;
    QLineEdit* location_ = nullptr;
    QLineEdit* sync_ = nullptr;
    std::array<QLineEdit*, kLiveRamCount> values_{};
};

// "&Live RAM Display...": connects (the Connecting dialog shows meanwhile),
// runs the display with `runModal` whether or not the ECM answered, and
// disconnects once it has closed.
void openLiveRamDisplay(LinkThread& link, LiveRamState& liveRam, const LinkState& shownLink,
                        const std::optional<std::string>& device, const SerialSettings& settings, QWidget* parent,
                        const std::function<int(QDialog&)>& runModal);

}  // namespace tavo
