#include "live/qt/LivePointView.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPainter>

#include <algorithm>

#include "live/paint/LiveMarkerPainter.h"
#include "logging/Acquisition.h"
#include "logging/qt/LoggingSession.h"
#include "review/HitCounts.h"
#include "review/TableChannelChoices.h"
#include "rom/RomImage.h"
#include "tables/TableDef.h"
#include "viewer/qt/TableGraphView.h"

namespace tavo {

namespace {

constexpr int kNoChannel = -1;
constexpr const char* kCustomTitle = "Custom";

}  // namespace

LivePointView::LivePointView(QDialog& dialog, TableGraphView& graph, LoggingSession& session,
                             const LoggingConfig& config, const RomImage& romImage, TableChannelChoices* choices,
                             double trailSeconds)
    : QObject(&dialog),
      graph_(&graph),
      session_(session),
      rom_(romImage),
      choices_(choices),
      trailSeconds_(std::max(0.0, trailSeconds)),
      storedAtOpening_(session.acquisition().sampleCount)
{
    label_ = new QLabel(QStringLiteral("Live c&hannel:"), &dialog);
    label_->setGeometry(400, 374, 80, 22);
    channels_ = new QComboBox(&dialog);
    channels_->setObjectName(QStringLiteral("liveChannel"));
    channels_->setToolTip(QStringLiteral("The logged channel that feeds this table's x axis"));
    channels_->setGeometry(482, 372, 176, 24);
    label_->setBuddy(channels_);
    channels_->addItem(QStringLiteral("(none)"), kNoChannel);
    for (int c = 0; c < kChannelCount; ++c)
        channels_->addItem(QString::fromStdString(config.channels[static_cast<std::size_t>(c)].titleText()), c);
    channels_->addItem(QString::fromLatin1(kCustomTitle), kCustomSlot);

    connect(channels_, &QComboBox::activated, this, [this](int index) { chooseChannel(index); });
    connect(&session_, &LoggingSession::ticked, this, [this](const TickRecord& record) {
        if (record.stored && channelSlot() != kNoChannel)
            graph_->overlayChanged();
    });
    connect(&session_, &LoggingSession::silenceChanged, this, [this] { graph_->overlayChanged(); });
    connect(graph_, &TableGraphView::redrawn, this, [this] { readTable(); });
}

void LivePointView::entryShown(const TableDef* def)
{
    shown_ = def && isGraphType(def->type) ? def : nullptr;
    readTable();
    label_->setVisible(shown_ != nullptr);
    channels_->setVisible(shown_ != nullptr);
    channels_->setCurrentIndex(0);
    if (shown_ && choices_)
        if (const auto title = choices_->channelFor(tableChoiceKey(*shown_))) {
            const int found = channels_->findText(QString::fromStdString(*title));
            channels_->setCurrentIndex(std::max(found, 0));
        }
    emit tableChanged();
    graph_->overlayChanged();
}

void LivePointView::closing()
{
    shown_ = nullptr;
    graph_ = nullptr;
}

void LivePointView::chooseChannel(int comboIndex)
{
    if (shown_ && choices_ && comboIndex > 0)
        choices_->setChannelFor(tableChoiceKey(*shown_), channels_->itemText(comboIndex).toStdString());
    emit tableChanged();
    if (graph_)
        graph_->overlayChanged();
}

int LivePointView::channelSlot() const
{
    return shown_ ? channels_->currentData().toInt() : kNoChannel;
}

void LivePointView::readTable()
{
    curve_.clear();
    xs_.clear();
    if (!shown_)
        return;
    const auto index = shown_ - rom_.tables.data();
    for (const GraphSegment& segment : tableGraphSegments(rom_, static_cast<int>(index), nullptr))
        if (segment.pen == GraphPen::Curve)
            curve_.push_back(segment);
    xs_ = pointXs(tablePoints(rom_, *shown_));
    emit tableChanged();
    if (graph_)
        graph_->overlayChanged();
}

std::vector<TimedValue> LivePointView::recentRows() const
{
    std::vector<TimedValue> rows;
    const int slot = channelSlot();
    const AcquisitionState& acquisition = session_.acquisition();
    // A value is drawn only where the ECM answered for it: a channel the
    // run does not log has no value.
    if (slot == kNoChannel || !maskBit(acquisition.channelMask, slot))
        return rows;
    const int stored = std::min(acquisition.sampleCount - storedAtOpening_, kRingRows);
    const auto newest = acquisition.rowTimesUs[static_cast<std::size_t>(ringRow(acquisition.writePos))];
    for (int k = 0; k < stored; ++k) {
        const auto row = static_cast<std::size_t>(ringRow(static_cast<long long>(acquisition.writePos) - k));
        const std::int64_t sampled = acquisition.rowTimesUs[row];
        if (k > 0 && static_cast<double>(newest - sampled) > trailSeconds_ * 1e6)
            break;
        rows.push_back({acquisition.samples[row][static_cast<std::size_t>(slot)], sampled});
    }
    std::reverse(rows.begin(), rows.end());
    return rows;
}

std::optional<LiveMark> LivePointView::mark() const
{
    const auto rows = recentRows();
    if (!shown_ || rows.empty())
        return std::nullopt;
    return liveMark(curve_, xs_, rows.back().value);
}

std::vector<TrailDot> LivePointView::trail() const
{
    const auto rows = recentRows();
    if (!shown_ || rows.empty())
        return {};
    return liveTrail(curve_, xs_, rows, rows.back().sampledUs, trailSeconds_);
}

int LivePointView::markedPoint() const
{
    const auto rows = recentRows();
    if (!shown_ || rows.empty() || xs_.empty())
        return -1;
    return std::max(hitLookup(xs_)[static_cast<std::size_t>(std::clamp(rows.back().value, 0, 255))], -1);
}

bool LivePointView::stale() const
{
    return !session_.silence().isEmpty();
}

void LivePointView::paint(QPainter& painter) const
{
    const auto rows = recentRows();
    if (!shown_ || rows.empty())
        return;
    paintLiveMarker(painter, liveMark(curve_, xs_, rows.back().value),
                    liveTrail(curve_, xs_, rows, rows.back().sampledUs, trailSeconds_), stale());
}

}  // namespace tavo
