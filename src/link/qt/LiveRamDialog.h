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
#include "link/LinkCheck.h"
#include "link/LiveRam.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavo {

class LinkThread;

class LiveRamDialog : public QDialog {
    Q_OBJECT
public:
    // Refreshes from ticks on `link` while `connected` (without a link it
    // starts none and says why: `notConnected`); keeps its position and
    // period in `liveRam`. `shownLink` tells when the link is lost.
    // `device` is where the link was made (to look up a slow adapter's timer).
    LiveRamDialog(LiveRamState& liveRam, const LinkState& shownLink, LinkThread& link, bool connected,
                  const std::string& notConnected = {}, QWidget* parent = nullptr,
                  std::optional<std::string> device = std::nullopt);
    ~LiveRamDialog() override;

    void accept() override;
    // Escape and the close box do nothing.
    void reject() override {}

private:
    void bank();
    void toggleSpeed();
    void showReading(const LiveRamReading& reading);
    // "reply 0.4 ms" beside the sync indicator, and what to do about a slow adapter.
    void showReplyTimes();
    void stopTicks();

    LiveRamState& liveRam_;
    const LinkState& shownLink_;
    LinkThread& link_;
    // The base the ticks query; only the link thread reads or writes it.
    std::shared_ptr<int> tickBase_;
    bool ticking_ = false;
    QLineEdit* location_ = nullptr;
    QLineEdit* sync_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* replyTime_ = nullptr;
    QLabel* slowAdapter_ = nullptr;
    std::optional<std::string> device_;
    std::optional<AdapterLatency> adapter_;  // looked up once the line is found slow
    std::array<QLineEdit*, kLiveRamCount> values_{};
};

// "&Live RAM Display...": connects (the Connecting dialog shows meanwhile),
// runs the display with `runModal` whether or not the ECM answered (without
// a connection it refreshes nothing and says why), and disconnects once it
// has closed.
void openLiveRamDisplay(LinkThread& link, LiveRamState& liveRam, const LinkState& shownLink,
                        const std::optional<std::string>& device, const SerialSettings& settings, QWidget* parent,
                        const std::function<int(QDialog&)>& runModal);

}  // namespace tavo
