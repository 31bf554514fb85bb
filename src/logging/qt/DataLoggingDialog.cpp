#include "logging/qt/DataLoggingDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "common/qt/QtText.h"
#include "link/EcmLink.h"
#include "link/qt/ConnectingDialog.h"
#include "link/qt/LinkThread.h"
#include "logging/LogGraphGeometry.h"
#include "logging/LogSaving.h"
#include "logging/LoggingConfig.h"
#include "logging/qt/LogGraphView.h"

namespace tavo {

namespace {

constexpr int kMargin = 10;
constexpr int kLeftWidth = kLogGraphLeft - 2 * kMargin;  // the column left of the chart
constexpr int kGap = 8;
constexpr int kDialogWidth = kLogGraphLeft + kLogGraphWidth + kMargin;

QPushButton* pushLike(const char* text, int id, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::number(id));
    button->setCheckable(true);
    button->setAutoDefault(false);
    return button;
}

// Places `widget` at (x, y), as wide as given and as high as it asks; returns its bottom.
int place(QWidget* widget, int x, int y, int width)
{
    const int height = widget->sizeHint().height();
    widget->setGeometry(x, y, width, height);
    return y + height;
}

}  // namespace

DataLoggingDialog::DataLoggingDialog(DataLoggingContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), acquisition_(context_.acquisition)
{
    setWindowTitle("Data Logging");
    setObjectName("dataLogging");
    buildControls();
    startTicks();
}

DataLoggingDialog::~DataLoggingDialog()
{
    if (ticking_)
        close(0);
}

void DataLoggingDialog::buildControls()
{
    // Left of the chart: the rates, LOG, Smoothing, Save and the sync indicator.
    auto* rateBox = new QGroupBox("Sample Rate:", this);
    auto* rateLayout = new QVBoxLayout(rateBox);
    for (std::size_t i = 0; i < kSampleRates.size(); ++i) {
        rates_[i] = new QRadioButton(kSampleRates[i].label, rateBox);
        rates_[i]->setObjectName(QString::number(kSampleRates[i].controlId));
        rates_[i]->setChecked(kSampleRates[i].periodMs == acquisition_.samplePeriodMs);
        rateLayout->addWidget(rates_[i]);
        const std::int32_t period = kSampleRates[i].periodMs;
        connect(rates_[i], &QRadioButton::clicked, this, [this, period] { rateChosen(period); });
    }
    int y = place(rateBox, kMargin, kLogGraphTop - 7, kLeftWidth) + kGap;
    log_ = pushLike("&LOG", 1121, this);
    smoothing_ = pushLike("S&moothing", 1154, this);
    auto* save = new QPushButton("&Save...", this);
    save->setObjectName("1122");
    save->setAutoDefault(false);
    y = place(log_, kMargin, y, kLeftWidth) + kGap / 2;
    y = place(smoothing_, kMargin, y, kLeftWidth) + kGap / 2;
    y = place(save, kMargin, y, kLeftWidth) + kGap / 2;
    sync_ = new QLineEdit(this);
    sync_->setObjectName("1129");
    sync_->setReadOnly(true);
    sync_->setFocusPolicy(Qt::NoFocus);
    sync_->setAlignment(Qt::AlignCenter);
    y = place(sync_, kMargin, y, sync_->fontMetrics().horizontalAdvance("WWWWW") + 12);
    connect(log_, &QPushButton::toggled, this, [this](bool pressed) { logToggled(pressed); });
    connect(smoothing_, &QPushButton::toggled, this, [this](bool on) { smoothingToggled(on); });
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });

    view_ = new LogGraphView(graph_, this);
    view_->move(kLogGraphLeft, kLogGraphTop);

    // Below the chart: the channels, the custom address, the configuration.
    auto* parameters = new QGroupBox("Parameters:", this);
    auto* grid = new QGridLayout(parameters);
    static constexpr const char* kBoxTexts[8] = {"&1", "&2", "&3", "&4", "&5", "&6", "&7", "&8"};
    for (int n = 0; n < kChannelCount; ++n) {
        auto* box = new QCheckBox(kBoxTexts[n], parameters);
        auto* title = new QLabel(recordText(context_.config.channels[static_cast<std::size_t>(n)].titleText()),
                                 parameters);
        title->setObjectName(QString::number(1195 + n));
        title->setBuddy(box);
        maskBoxes_[static_cast<std::size_t>(n)] = box;
        grid->addWidget(box, n % 4, (n / 4) * 2);
        grid->addWidget(title, n % 4, (n / 4) * 2 + 1);
    }
    maskBoxes_[8] = new QCheckBox("&Custom:", parameters);
    maskBoxes_[9] = new QCheckBox("Si&gned", parameters);
    maskBoxes_[9]->setEnabled(false);
    custom_ = new QLineEdit(QString::fromStdString(customLocationText(acquisition_.customLocation)), parameters);
    custom_->setObjectName("1156");
    custom_->setFixedWidth(custom_->fontMetrics().horizontalAdvance("WWWW") + 12);
    auto* customRow = new QHBoxLayout;
    customRow->addWidget(maskBoxes_[8]);
    customRow->addWidget(custom_);
    customRow->addWidget(maskBoxes_[9]);
    customRow->addStretch(1);
    grid->addLayout(customRow, 4, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    for (std::size_t bit = 0; bit < maskBoxes_.size(); ++bit) {
        maskBoxes_[bit]->setObjectName(QString::number(kMaskBoxIds[bit]));
        maskBoxes_[bit]->setChecked(maskBit(acquisition_.channelMask, static_cast<int>(bit)));
        connect(maskBoxes_[bit], &QCheckBox::toggled, this, [this] { maskChanged(); });
    }
    connect(custom_, &QLineEdit::textChanged, this, [this] { customTextChanged(); });
    const int width = kDialogWidth - 2 * kMargin;
    y = place(parameters, kMargin, std::max(y, kLogGraphTop + kLogGraphHeight) + kGap, width) + kGap;

    auto* configuration = new QGroupBox("Logging Configuration", this);
    auto* configurationLayout = new QVBoxLayout(configuration);
    auto* name = new QLabel(recordText(context_.config.nameText()), configuration);
    name->setObjectName("1203");
    configurationLayout->addWidget(name);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &DataLoggingDialog::accept);
    const int okWidth = ok->sizeHint().width() + 16;
    const int bottom = place(configuration, kMargin, y, width - okWidth - kGap);
    place(ok, kDialogWidth - kMargin - okWidth, bottom - ok->sizeHint().height(), okWidth);
    // Where the last save went, in words.
    saved_ = new QLabel(this);
    saved_->setObjectName("saved");
    saved_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    saved_->setWordWrap(true);
    saved_->setGeometry(kMargin, bottom + kGap / 2, width, 2 * saved_->fontMetrics().lineSpacing());
    setFixedSize(kDialogWidth, saved_->geometry().bottom() + kMargin);
}

void DataLoggingDialog::startTicks()
{
    // The ticks' copy is made here, before the link thread sees it; from
    // then on only the link thread touches it.
    work_ = std::make_shared<TickWork>();
    work_->acquisition = acquisition_;
    work_->channels = context_.config.channels;
    work_->customText = customAddressText(recordBytes(custom_->text()));
    context_.link.startTicks(
        tickIntervalMs(acquisition_.samplePeriodMs), [this, work = work_](EcmLink& ecm) -> LinkThread::TickResult {
            const TickOutcome outcome = runAcquisitionTick(work->acquisition, work->channels, work->customText, ecm);
            if (outcome == TickOutcome::Stopped || outcome == TickOutcome::CutShort)
                return {};
            return [this, record = tickRecord(work->acquisition, outcome, ecm.linkSynced())] { showTick(record); };
        });
    ticking_ = true;
}

void DataLoggingDialog::showTick(const TickRecord& record)
{
    applyTickRecord(acquisition_, record);
    if (record.outcome == TickOutcome::Sampled)
        sync_->setText(syncText(record.synced));
    drawLogGraphColumn(graph_, acquisition_.samples, acquisition_.writePos, record.channelMask,
                       acquisition_.customLocation, context_.pens);
    view_->update();
}

void DataLoggingDialog::change(const std::function<void(AcquisitionState&)>& change)
{
    change(acquisition_);
    context_.link.post([work = work_, change](EcmLink&) { change(work->acquisition); });
}

void DataLoggingDialog::maskChanged()
{
    std::array<bool, 10> checked{};
    for (std::size_t bit = 0; bit < maskBoxes_.size(); ++bit)
        checked[bit] = maskBoxes_[bit]->isChecked();
    const std::uint32_t mask = maskFromBoxes(checked);
    change([mask](AcquisitionState& state) { state.channelMask = mask; });
}

void DataLoggingDialog::customTextChanged()
{
    const CustomAddressText text = customAddressText(recordBytes(custom_->text()));
    context_.link.post([work = work_, text](EcmLink&) { work->customText = text; });
}

void DataLoggingDialog::rateChosen(std::int32_t periodMs)
{
    change([periodMs](AcquisitionState& state) { state.samplePeriodMs = periodMs; });
    context_.link.setTickPeriod(tickIntervalMs(periodMs));
}

void DataLoggingDialog::smoothingToggled(bool on)
{
    change([on](AcquisitionState& state) { state.smoothing = on; });
}

void DataLoggingDialog::logToggled(bool pressed)
{
    if (pressed) {
        // Sampling starts once the connection procedure has ended, connected
        // or not; meanwhile the window stays usable (LOG again, OK).
        setLogButton(acquisition_, true);
        connecting_ = startConnecting(context_.link, context_.device, context_.settings, this);
        context_.link.post([work = work_](EcmLink&) { setLogButton(work->acquisition, true); });
        return;
    }
    change([](AcquisitionState& state) { setLogButton(state, false); });
    // Ends a connection procedure at once and cuts a running tick short
    // (such a tick stores nothing).
    context_.link.disconnectEcm();
    if (connecting_)
        connecting_->accept();
}

void DataLoggingDialog::save()
{
    const std::string folder = context_.logFolder.empty() ? defaultLogFolder() : context_.logFolder;
    if (const auto path = saveRingToLogFolder(acquisition_, folder, localTimeOfDay(), context_.prompts))
        saved_->setText(pathText(savedLogText(*path)));
}

void DataLoggingDialog::close(int command)
{
    if (ticking_)
        context_.link.stopTicks();
    ticking_ = false;
    resetLogGraph(graph_);
    if (connecting_)
        connecting_->accept();
    if (acquisition_.logOn)
        context_.link.disconnectEcm();
    if (command != 0)
        done(command);
}

void DataLoggingDialog::accept()
{
    close(1);
}

void DataLoggingDialog::reject()
{
    close(2);
}

int openDataLoggingDialog(DataLoggingContext context, QWidget* parent, const std::function<int(QDialog&)>& runModal)
{
    DataLoggingDialog dialog(std::move(context), parent);
    return runModal(dialog);
}

}  // namespace tavo
