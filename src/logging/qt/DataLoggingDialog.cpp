#include "logging/qt/DataLoggingDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

#include "common/UserPrompts.h"
#include "common/qt/QtText.h"
#include "link/qt/ConnectingDialog.h"
#include "logging/LogGraphGeometry.h"
#include "logging/LogSaving.h"
#include "logging/LoggingConfig.h"
#include "logging/qt/LogGraphView.h"
#include "logging/qt/LoggingSession.h"

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
    : QDialog(parent), context_(std::move(context)), session_(context_.session),
      acquisition_(context_.session.acquisition())
{
    setWindowTitle("Data Logging");
    setObjectName("dataLogging");
    buildControls();
    // The chart from the rows the ring already holds, LOG as the run has it.
    if (acquisition_.sampleCount > 0)
        replayLogGraph(graph_, acquisition_, context_.pens);
    log_->setChecked(acquisition_.logOn);
    smoothing_->setChecked(acquisition_.smoothing);
    sync_->setText(session_.syncText());
    observeSession();
    open_ = true;
    session_.open(recordBytes(custom_->text()));
}

DataLoggingDialog::~DataLoggingDialog()
{
    if (open_)
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
    replyTime_ = new QLabel(this);
    replyTime_->setObjectName("replyTime");
    y = place(replyTime_, kMargin, y + kGap / 2, kLeftWidth);
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
    }
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
    // A slow USB adapter's explanation, below everything, only when there is one.
    slowAdapter_ = new QLabel(this);
    slowAdapter_->setObjectName("slowAdapter");
    slowAdapter_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    slowAdapter_->setWordWrap(true);
    slowAdapter_->setGeometry(kMargin, saved_->geometry().bottom() + kGap / 2, width,
                              4 * slowAdapter_->fontMetrics().lineSpacing());
    slowAdapter_->hide();
    heightWithoutAdvice_ = saved_->geometry().bottom() + kMargin;
    setFixedSize(kDialogWidth, heightWithoutAdvice_);
}

void DataLoggingDialog::showReplyTimes()
{
    const ReplyTimeSummary& replies = session_.replyTimes();
    if (replies.count < repliesShown_)
        adapter_.reset();  // a new connection: perhaps another adapter
    repliesShown_ = replies.count;
    replyTime_->setText(QString::fromStdString(replyTimeText(replies)));
    const std::string advice = slowAdapterNotice(replies, session_.connectedTo().device, adapter_);
    slowAdapter_->setText(QString::fromStdString(advice));
    if (advice.empty() == slowAdapter_->isHidden())
        return;
    // As tall as the sentence needs at the window's width.
    QRect place = slowAdapter_->geometry();
    place.setHeight(slowAdapter_->heightForWidth(place.width()));
    slowAdapter_->setGeometry(place);
    slowAdapter_->setVisible(!advice.empty());
    setFixedSize(kDialogWidth,
                 advice.empty() ? heightWithoutAdvice_ : slowAdapter_->geometry().bottom() + kMargin);
}

void DataLoggingDialog::observeSession()
{
    connect(&session_, &LoggingSession::ticked, this, [this](const TickRecord& record) { showTick(record); });
    connect(&session_, &LoggingSession::logChanged, this, [this](bool pressed) {
        const QSignalBlocker quiet(log_);
        log_->setChecked(pressed);
    });
    connect(&session_, &LoggingSession::connectingChanged, this, [this](bool running) { showConnecting(running); });
    connect(&session_, &LoggingSession::connectFailed, this, [this](const QString& message) {
        context_.prompts.showMessage(message.toStdString(), "TaVO Error", MessageIcon::Warning);
    });
    connect(&session_, &LoggingSession::silenceChanged, this, [this] { showStatus(); });
    connect(&session_, &LoggingSession::syncChanged, sync_, &QLineEdit::setText);
    connect(log_, &QPushButton::toggled, this, [this](bool pressed) { session_.setLog(pressed); });
    connect(smoothing_, &QPushButton::toggled, this, [this](bool on) { session_.setSmoothing(on); });
    connect(custom_, &QLineEdit::textChanged, this, [this] { session_.setCustomText(recordBytes(custom_->text())); });
    for (std::size_t i = 0; i < kSampleRates.size(); ++i) {
        const std::int32_t period = kSampleRates[i].periodMs;
        connect(rates_[i], &QRadioButton::clicked, this, [this, period] { session_.setSamplePeriod(period); });
    }
    for (QCheckBox* box : maskBoxes_)
        connect(box, &QCheckBox::toggled, this, [this] { maskChanged(); });
}

void DataLoggingDialog::showTick(const TickRecord& record)
{
    LogGraphColumn kind = LogGraphColumn::Segment;
    if (record.outcome == TickOutcome::Logged) {
        if (record.stored && record.firstOfRun && record.lostBefore == 0) {
            // A new LOG run: marked apart from the last one, as the replay does
            // (ticks lost before it have drawn their gap already).
            drawLogGraphColumn(graph_, acquisition_.samples, acquisition_.writePos, record.channelMask,
                               acquisition_.customLocation, context_.pens, LogGraphColumn::Gap);
            kind = LogGraphColumn::Restart;
            afterGap_ = false;
        } else if (record.stored) {
            kind = afterGap_ ? LogGraphColumn::Restart : LogGraphColumn::Segment;
            afterGap_ = false;
        } else if (record.lost) {
            kind = LogGraphColumn::Gap;
            afterGap_ = true;
        } else {
            kind = LogGraphColumn::Blank;
        }
    }
    drawLogGraphColumn(graph_, acquisition_.samples, acquisition_.writePos, record.channelMask,
                       acquisition_.customLocation, context_.pens, kind);
    view_->changed();
    if (record.outcome == TickOutcome::Logged)
        showReplyTimes();
}

void DataLoggingDialog::showConnecting(bool running)
{
    if (!running) {
        if (connecting_)
            connecting_->accept();
        return;
    }
    // Over this window, which stays usable: LOG released, OK, Escape or
    // Alt+A end the attempt.
    connecting_ = new ConnectingDialog(this, true);
    connecting_->setAttribute(Qt::WA_DeleteOnClose);
    connect(connecting_, &ConnectingDialog::abortRequested, &session_, &LoggingSession::abortConnecting);
    connect(connecting_, &QDialog::finished, connecting_, &QObject::deleteLater);
    connecting_->show();
}

void DataLoggingDialog::showStatus()
{
    // The ECM's silence outranks where the last save went.
    saved_->setText(session_.silence().isEmpty() ? savedText_ : session_.silence());
}

void DataLoggingDialog::maskChanged()
{
    std::array<bool, 10> checked{};
    for (std::size_t bit = 0; bit < maskBoxes_.size(); ++bit)
        checked[bit] = maskBoxes_[bit]->isChecked();
    session_.setChannelMask(maskFromBoxes(checked));
}

void DataLoggingDialog::save()
{
    const std::string folder = context_.logFolder.empty() ? defaultLogFolder() : context_.logFolder;
    if (const auto path = saveRingToLogFolder(acquisition_, folder, localTimeOfDay(), context_.prompts)) {
        savedText_ = pathText(savedLogText(*path));
        showStatus();
    }
}

void DataLoggingDialog::close(int command)
{
    open_ = false;
    if (connecting_)
        connecting_->accept();
    session_.close();
    resetLogGraph(graph_);
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
