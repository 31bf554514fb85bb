#include "link/qt/ConnectingDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "link/qt/LinkThread.h"

namespace tavo {

ConnectingDialog::ConnectingDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Connecting...");
    setObjectName("connecting");
    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->addWidget(new QLabel("Attempting to establish Communications", this));
    texts->addWidget(new QLabel("with the ECM - this may take a few seconds", this));

    auto* abort = new QPushButton("&Abort", this);
    abort->setObjectName("1136");
    abort->setAutoDefault(false);
    connect(abort, &QPushButton::clicked, this, &ConnectingDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(abort, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ConnectingDialog::reject()
{
    emit abortRequested();
    done(1136);
}

bool connectWithDialog(LinkThread& link, const std::optional<std::string>& device, const SerialSettings& settings,
                       QWidget* parent)
{
    ConnectingDialog dialog(parent);
    bool connected = false;
    const quint64 request = link.connectEcm(device, settings);
    QObject::connect(&link, &LinkThread::connectFinished, &dialog, [&](quint64 finished, bool ok) {
        if (finished != request)
            return;
        connected = ok;
        dialog.accept();
    });
    QObject::connect(&dialog, &ConnectingDialog::abortRequested, &link, [&link] { link.disconnectEcm(); });
    dialog.exec();
    return connected;
}

}  // namespace tavo

namespace tavo {

ConnectingDialog* startConnecting(LinkThread& link, const std::optional<std::string>& device,
                                  const SerialSettings& settings, QWidget* parent)
{
    auto* dialog = new ConnectingDialog(parent);
    const quint64 request = link.connectEcm(device, settings);
    QObject::connect(&link, &LinkThread::connectFinished, dialog, [dialog, request](quint64 finished, bool) {
        if (finished == request)
            dialog->accept();
    });
    QObject::connect(dialog, &ConnectingDialog::abortRequested, &link, [&link] { link.disconnectEcm(); });
    QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    dialog->show();
    return dialog;
}

}  // namespace tavo
