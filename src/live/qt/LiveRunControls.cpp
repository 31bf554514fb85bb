#include "live/qt/LiveRunControls.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>

#include "common/UserPrompts.h"
#include "link/qt/ConnectingDialog.h"
#include "logging/qt/LoggingSession.h"

namespace tavo {

LiveRunControls::LiveRunControls(QDialog& dialog, LoggingSession& session, UserPrompts* prompts)
    : QObject(&dialog), dialog_(dialog), session_(session), prompts_(prompts)
{
    box_ = new QCheckBox(QStringLiteral("&Live"), &dialog);
    box_->setObjectName(QStringLiteral("live"));
    box_->setToolTip(QStringLiteral("Log the ECM while the Quick Viewer is open, as LOG in Data Logging does"));
    box_->setGeometry(kLiveBoxX, kLiveBoxY, 110, 20);
    status_ = new QLabel(&dialog);
    status_->setObjectName(QStringLiteral("liveStatus"));
    status_->setWordWrap(true);
    status_->setGeometry(400, kLiveStatusY, 375, 32);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(box_, &QCheckBox::toggled, this, [this](bool on) { setLive(on); });
    connect(&session_, &LoggingSession::connectingChanged, this, [this](bool running) { showConnecting(running); });
    connect(&session_, &LoggingSession::connectFailed, this, [this](const QString& message) {
        if (!session_.live())
            return;
        failure_ = message;
        if (prompts_)
            prompts_->showMessage(message.toStdString(), "TaVO Error", MessageIcon::Warning);
    });
    connect(&session_, &LoggingSession::logChanged, this, [this](bool pressed) {
        // A connection Live asked for failed or was aborted: Live goes off.
        // (Later, once the session has finished telling its windows.)
        if (!pressed && box_->isChecked() && !session_.acquisition().logOn && !session_.connecting()) {
            const QSignalBlocker quiet(box_);
            box_->setChecked(false);
            QTimer::singleShot(0, this, [this] {
                if (!box_->isChecked() && session_.live())
                    setLive(false);
            });
        }
        showStatus();
    });
    connect(&session_, &LoggingSession::silenceChanged, this, [this] { showStatus(); });
    connect(&session_, &LoggingSession::phaseChanged, this, [this] { showStatus(); });
}

LiveRunControls::~LiveRunControls()
{
    closing();
}

bool LiveRunControls::isLive() const
{
    return box_->isChecked();
}

void LiveRunControls::closing()
{
    if (connecting_)
        connecting_->accept();
    if (session_.live())
        session_.stopLive();
}

void LiveRunControls::setLive(bool on)
{
    if (on) {
        failure_.clear();
        session_.startLive();
        emit liveStarted();
    } else {
        session_.stopLive();
        emit liveStopped();
    }
    showStatus();
}

void LiveRunControls::showConnecting(bool running)
{
    if (!running) {
        if (connecting_)
            connecting_->accept();
        return;
    }
    if (!box_->isChecked() || connecting_)
        return;
    // Over the viewer, which stays usable: unticking Live, Escape or Alt+A
    // end the attempt.
    connecting_ = new ConnectingDialog(&dialog_, true);
    connecting_->setAttribute(Qt::WA_DeleteOnClose);
    connect(connecting_, &ConnectingDialog::abortRequested, &session_, &LoggingSession::abortConnecting);
    connecting_->show();
}

void LiveRunControls::showStatus()
{
    if (!session_.silence().isEmpty())
        status_->setText(session_.silence());
    else if (session_.connecting() && box_->isChecked())
        status_->setText(QStringLiteral("Connecting..."));
    else if (!failure_.isEmpty() && !box_->isChecked())
        status_->setText(failure_.section(QLatin1Char('\n'), 0, 0));
    else
        status_->clear();
}

}  // namespace tavo
