#pragma once
// "Connecting...": shown while the link thread runs the connection
// procedure, gone on every way out. Abort ends the procedure unconnected.

#include <QDialog>
#include <optional>
#include <string>

#include "link/LinkFailure.h"
#include "link/SerialSettings.h"

namespace tavo {

class LinkThread;

class ConnectingDialog : public QDialog {
    Q_OBJECT
public:
    // Over a window that stays usable meanwhile (`keepsParentFocus`), the box
    // takes no keyboard focus: the window's own keys (LOG, OK, Escape) keep
    // working, Alt+A there aborts, and the box stays above the window.
    explicit ConnectingDialog(QWidget* parent = nullptr, bool keepsParentFocus = false);

    // Escape and the close box abort like the button.
    void reject() override;

signals:
    void abortRequested();
};

// Runs the connection procedure on `link` with the Connecting dialog over
// `parent`, modally; what failed (None: connected). The window keeps
// repainting, and Abort returns at once (the link thread then ends the
// procedure unconnected).
LinkFailure connectWithDialog(LinkThread& link, const std::optional<std::string>& device,
                              const SerialSettings& settings, QWidget* parent);

}  // namespace tavo
