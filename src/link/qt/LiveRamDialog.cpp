#include "link/qt/LiveRamDialog.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/qt/ConnectingDialog.h"
#include "link/qt/LinkThread.h"

namespace tavo {

namespace {

// Value fields in address order: offsets 0 to 7, then 8 to F.
int valueFieldId(int offset)
{
    return offset < 8 ? 1137 + offset : 1153 + offset - 8;
}

QLineEdit* readOnlyField(int id, int characters, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::number(id));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(Qt::AlignCenter);
    const int width = field->fontMetrics().horizontalAdvance(QString(characters, QChar('W')));
    field->setFixedWidth(width + 12);
    return field;
}

}  // namespace

LiveRamDialog::LiveRamDialog(LiveRamState& liveRam, const LinkState& shownLink, LinkThread& link, bool connected,
                             const std::string& notConnected, QWidget* parent, std::optional<std::string> device)
    : QDialog(parent), liveRam_(liveRam), shownLink_(shownLink), link_(link),
      tickBase_(std::make_shared<int>(liveRam.liveRamBase)), device_(std::move(device))
{
    setWindowTitle("Live RAM Display");

    auto* grid = new QGridLayout;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int offset = row * 8 + column;
            auto* heading = new QLabel(QString::number(offset, 16).toUpper(), this);
            heading->setAlignment(Qt::AlignCenter);
            grid->addWidget(heading, row * 2, column);
            values_[static_cast<std::size_t>(offset)] = readOnlyField(valueFieldId(offset), 2, this);
            grid->addWidget(values_[static_cast<std::size_t>(offset)], row * 2 + 1, column);
        }
    }

    location_ = readOnlyField(1145, 7, this);
    sync_ = readOnlyField(1147, 2, this);
    auto* speed = new QPushButton("&Speed", this);
    speed->setObjectName("1146");
    speed->setCheckable(true);
    auto* bankButton = new QPushButton("&Bank", this);
    bankButton->setObjectName("1148");
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("1");
    ok->setDefault(true);
    connect(speed, &QPushButton::toggled, this, [this] { toggleSpeed(); });
    connect(bankButton, &QPushButton::clicked, this, [this] { bank(); });
    connect(ok, &QPushButton::clicked, this, &LiveRamDialog::accept);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel("Location:", this));
    controls->addWidget(location_);
    controls->addSpacing(12);
    controls->addWidget(sync_);
    replyTime_ = new QLabel(this);
    replyTime_->setObjectName("replyTime");
    replyTime_->setMinimumWidth(replyTime_->fontMetrics().horizontalAdvance("reply 888 ms"));
    controls->addWidget(replyTime_);
    controls->addStretch(1);
    controls->addWidget(speed);
    controls->addWidget(bankButton);
    controls->addWidget(ok);

    // Why nothing is shown, when the link is not there.
    status_ = new QLabel(QString::fromStdString(notConnected), this);
    status_->setObjectName("status");
    status_->setWordWrap(true);
    status_->setVisible(!notConnected.empty());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(controls);
    layout->addWidget(status_);
    slowAdapter_ = new QLabel(this);
    slowAdapter_->setObjectName("slowAdapter");
    slowAdapter_->setWordWrap(true);
    slowAdapter_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    slowAdapter_->hide();
    layout->addWidget(slowAdapter_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    location_->setText(QString::fromStdString(liveRamLocationText(liveRam_.liveRamBase)));
    showReading(LiveRamReading{liveRam_.liveRamBase, {}, false});
    if (!connected)
        return;
    link_.startTicks(liveRam_.liveRamPeriodMs, [this, base = tickBase_, held = std::make_shared<LiveRamHeld>()](
                                                    EcmLink& ecm) -> LinkThread::TickResult {
        return [this, reading = runLiveRamTick(ecm, *base, *held)] { showReading(reading); };
    });
    ticking_ = true;
}

LiveRamDialog::~LiveRamDialog()
{
    stopTicks();
}

void LiveRamDialog::stopTicks()
{
    if (ticking_)
        link_.stopTicks();
    ticking_ = false;
}

void LiveRamDialog::accept()
{
    stopTicks();
    done(QDialog::Accepted);
}

void LiveRamDialog::bank()
{
    const bool shift = QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
    liveRam_.liveRamBase = nextLiveRamBase(liveRam_.liveRamBase, shift);
    location_->setText(QString::fromStdString(liveRamLocationText(liveRam_.liveRamBase)));
    link_.post([base = tickBase_, value = liveRam_.liveRamBase](EcmLink&) { *base = value; });
}

void LiveRamDialog::toggleSpeed()
{
    liveRam_.liveRamPeriodMs = toggledLiveRamPeriod(liveRam_.liveRamPeriodMs);
    link_.setTickPeriod(liveRam_.liveRamPeriodMs);
}

void LiveRamDialog::showReading(const LiveRamReading& reading)
{
    // A reading of the base before the last Bank press answers other
    // addresses than the fields now show: dashes until the next one.
    const bool current = reading.base == liveRam_.liveRamBase;
    for (int i = 0; i < kLiveRamCount; ++i) {
        const auto value = current ? reading.values[static_cast<std::size_t>(i)] : std::nullopt;
        values_[static_cast<std::size_t>(i)]->setText(QString::fromStdString(liveRamValueText(value)));
    }
    sync_->setText(QString::fromStdString(liveRamSyncText(reading.synced)));
    showReplyTimes();
    if (ticking_ && shownLink_.failure) {
        status_->setText(QString::fromStdString(linkFailureText(shownLink_.failure, std::nullopt, 0)));
        status_->setVisible(true);
    }
}

void LiveRamDialog::showReplyTimes()
{
    replyTime_->setText(QString::fromStdString(replyTimeText(shownLink_.replies)));
    const std::string advice = slowAdapterNotice(shownLink_.replies, device_, adapter_);
    slowAdapter_->setText(QString::fromStdString(advice));
    slowAdapter_->setVisible(!advice.empty());
}

void openLiveRamDisplay(LinkThread& link, LiveRamState& liveRam, const LinkState& shownLink,
                        const std::optional<std::string>& device, const SerialSettings& settings, QWidget* parent,
                        const std::function<int(QDialog&)>& runModal)
{
    const LinkFailure failure = connectWithDialog(link, device, settings, parent);
    {
        const std::string notConnected = failure.problem == LinkProblem::Aborted
                                             ? std::string("Not connected: the attempt was aborted.")
                                             : linkFailureText(failure, device, settings.port);
        LiveRamDialog dialog(liveRam, shownLink, link, !failure, notConnected, parent, device);
        runModal(dialog);
    }
    link.disconnectEcm();
}

}  // namespace tavo
