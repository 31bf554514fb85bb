#pragma once
// "Connecting...": shown while the link thread runs the connection
// procedure, gone on every way out. Abort ends the procedure unconnected.

#include <QDialog>
#include <optional>
#include <string>

#include "link/SerialSettings.h"

namespace tavo {

class LinkThread;

class ConnectingDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConnectingDialog(QWidget* parent = nullptr);

    // Escape and the close box abort like the button.
    void reject() override;

signals:
    void abortRequested();
};

// Runs the connection procedure on `link` with the Connecting dialog over
// `parent`; true when the ECM answered. The window keeps repainting, and
// Abort returns at once (the link thread then ends the procedure unconnected).
bool connectWithDialog(LinkThread& link, const std::optional<std::string>& device, const SerialSettings& settings,
                       QWidget* parent);

// Starts the connection procedure on `link` and shows the Connecting dialog
// over `parent` without waiting: `parent` stays usable meanwhile. The dialog
// goes once the procedure has ended; Abort ends it unconnected. The dialog
// deletes itself when done.
ConnectingDialog* startConnecting(LinkThread& link, const std::optional<std::string>& device,
                                  const SerialSettings& settings, QWidget* parent);

}  // namespace tavo
