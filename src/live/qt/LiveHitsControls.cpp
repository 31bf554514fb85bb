#include "live/qt/LiveHitsControls.h"

#include <QCheckBox>
#include <QDialog>
#include <QHelpEvent>
#include <QPushButton>
#include <QToolTip>

#include "live/paint/LiveHitsPainter.h"
#include "live/qt/LivePointView.h"
#include "logging/Acquisition.h"
#include "logging/qt/LoggingSession.h"
#include "viewer/GraphMapping.h"
#include "viewer/qt/TableGraphView.h"

namespace tavo {

namespace {

// Right of "Live channel:", under Live.
constexpr int kHitsX = 664;
constexpr int kRowY = 372;

}  // namespace

LiveHitsControls::LiveHitsControls(QDialog& dialog, TableGraphView& graph, LoggingSession& session,
                                   const LivePointView& point)
    : QObject(&dialog), graph_(&graph), session_(session), point_(point)
{
    // Alt+H is the live channel's and Alt+L Live's: "H&its", "&Reset".
    box_ = new QCheckBox(QStringLiteral("H&its"), &dialog);
    box_->setObjectName(QStringLiteral("liveHits"));
    box_->setToolTip(QStringLiteral("Shade each point by how many logged rows counted for it since Live was ticked"));
    box_->setGeometry(kHitsX, kRowY + 2, 52, 20);
    reset_ = new QPushButton(QStringLiteral("&Reset"), &dialog);
    reset_->setObjectName(QStringLiteral("liveHitsReset"));
    reset_->setToolTip(QStringLiteral("Count the hits from zero again"));
    reset_->setAutoDefault(false);
    reset_->setGeometry(kHitsX + 54, kRowY, 56, 24);

    counts_.startAt(session_.acquisition().sampleCount);
    followTable();
    graph.installEventFilter(this);
    connect(box_, &QCheckBox::toggled, this, [this] { graph_->overlayChanged(); });
    connect(reset_, &QPushButton::clicked, this, [this] { reset(); });
    connect(&point_, &LivePointView::tableChanged, this, [this] { followTable(); });
    connect(&session_, &LoggingSession::ticked, this, [this](const TickRecord& record) {
        if (record.stored)
            catchUp();
    });
}

void LiveHitsControls::liveStarted()
{
    reset();
}

void LiveHitsControls::reset()
{
    counts_.startAt(session_.acquisition().sampleCount);
    if (graph_ && shown())
        graph_->overlayChanged();
}

bool LiveHitsControls::shown() const
{
    return box_->isChecked();
}

void LiveHitsControls::followTable()
{
    const bool graph = !point_.xs().empty();
    box_->setVisible(graph);
    reset_->setVisible(graph);
    counts_.setTable(point_.xs(), point_.channelSlot());
    catchUp();
}

void LiveHitsControls::catchUp()
{
    if (counts_.catchUp(session_.acquisition()) && graph_ && shown())
        graph_->overlayChanged();
}

void LiveHitsControls::paint(QPainter& painter) const
{
    if (shown())
        paintLiveHits(painter, liveHitShades(counts_.cells(), counts_.counts().hits));
}

void LiveHitsControls::closing()
{
    if (graph_)
        graph_->removeEventFilter(this);
    graph_ = nullptr;
}

bool LiveHitsControls::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != graph_ || event->type() != QEvent::ToolTip || !shown())
        return QObject::eventFilter(watched, event);
    // The graph image sits kGraphTop below the widget's top, its columns the widget's.
    auto* help = static_cast<QHelpEvent*>(event);
    const int column = help->pos().x();
    const int row = help->pos().y() - kGraphTop;
    const std::string text = row >= 0 && row < kGraphBitmapSize ? liveHitText(counts_, column) : std::string();
    if (text.empty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), QString::fromStdString(text), graph_);
    return true;
}

}  // namespace tavo
