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

LiveRamDialog::LiveRamDialog(LiveRamState& liveRam, const LinkState& shownLink, LinkThread& link, QWidget* parent)
    : QDialog(parent), liveRam_(liveRam), shownLink_(shownLink), link_(link),
      tickBase_(std::make_shared<int>(liveRam.liveRamBase))
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
    controls->addStretch(1);
    controls->addWidget(speed);
    controls->addWidget(bankButton);
    controls->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(controls);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    location_->setText(QString::fromStdString(liveRamLocationText(liveRam_.liveRamBase)));
    link_.startTicks(liveRam_.liveRamPeriodMs, [this, base = tickBase_](EcmLink& ecm) -> LinkThread::TickResult {
        runLiveRamTick(ecm, *base);
        return [this] { showValues(); };
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

void LiveRamDialog::showValues()
{
    for (int i = 0; i < kLiveRamCount; ++i) {
        const auto address = static_cast<std::size_t>(liveRamAddress(liveRam_.liveRamBase, i));
        values_[static_cast<std::size_t>(i)]->setText(
            QString::fromStdString(liveRamValueText(shownLink_.ramMirror[address])));
    }
    sync_->setText(QString::fromStdString(liveRamSyncText(shownLink_.linkSynced)));
}

void openLiveRamDisplay(LinkThread& link, LiveRamState& liveRam, const LinkState& shownLink,
                        const std::optional<std::string>& device, const SerialSettings& settings, QWidget* parent,
                        const std::function<int(QDialog&)>& runModal)
{
    connectWithDialog(link, device, settings, parent);
    {
        LiveRamDialog dialog(liveRam, shownLink, link, parent);
        runModal(dialog);
    }
    link.disconnectEcm();
}

}  // namespace tavo
