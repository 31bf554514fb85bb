#include "link/qt/ConnectingDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include "link/qt/LinkThread.h"

namespace tavo {

ConnectingDialog::ConnectingDialog(QWidget* parent, bool keepsParentFocus) : QDialog(parent)
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

    if (keepsParentFocus && parent) {
        // A tool window stays above the window that opened it; shown without
        // taking the focus, it leaves that window's keys working.
        setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
        setAttribute(Qt::WA_ShowWithoutActivating);
        abort->setFocusPolicy(Qt::NoFocus);
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_A), parent);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &ConnectingDialog::reject);
        // The shortcut lives on the parent; it goes with this box.
        connect(this, &QObject::destroyed, shortcut, &QObject::deleteLater);
    }
}

void ConnectingDialog::reject()
{
    emit abortRequested();
    done(1136);
}

LinkFailure connectWithDialog(LinkThread& link, const std::optional<std::string>& device,
                              const SerialSettings& settings, QWidget* parent)
{
    ConnectingDialog dialog(parent);
    LinkFailure failure = LinkFailure::of(LinkProblem::Aborted);
    const quint64 request = link.connectEcm(device, settings);
    QObject::connect(&link, &LinkThread::connectFinished, &dialog, [&](quint64 finished, bool) {
        if (finished != request)
            return;
        failure = link.shownState().failure;
        dialog.accept();
    });
    QObject::connect(&dialog, &ConnectingDialog::abortRequested, &link, [&link] { link.disconnectEcm(); });
    dialog.exec();
    return failure;
}

}  // namespace tavo
