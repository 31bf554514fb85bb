#include "live/qt/LiveTuning.h"

#include "live/qt/LiveHitsControls.h"
#include "live/qt/LivePointView.h"
#include "live/qt/LiveRowMark.h"
#include "live/qt/LiveRunControls.h"
#include "viewer/qt/TableGraphView.h"

namespace tavo {

LiveTuning::LiveTuning(const LiveTuningContext& context, QObject* parent) : QObject(parent), context_(context) {}

LiveTuning::~LiveTuning() = default;

void LiveTuning::attach(QDialog& dialog, TableGraphView& graph)
{
    dialog_ = &dialog;
    graph_ = &graph;
    run_ = new LiveRunControls(dialog, context_.session, context_.prompts);
    connect(run_, &LiveRunControls::liveStarted, this, &LiveTuning::liveStarted);
    connect(run_, &LiveRunControls::liveStopped, this, &LiveTuning::liveStopped);
    point_ = new LivePointView(dialog, graph, context_.session, context_.config, context_.romImage,
                               context_.channelChoices, context_.trailSeconds);
    hits_ = new LiveHitsControls(dialog, graph, context_.session, *point_);
    connect(this, &LiveTuning::liveStarted, hits_, &LiveHitsControls::liveStarted);
    // The hit shades under the marker and its trail.
    graph.setOverlay([this](QPainter& painter) {
        if (hits_)
            hits_->paint(painter);
        if (point_)
            point_->paint(painter);
    });
}

void LiveTuning::tableEditorOpened(TableEditorDialog& editor)
{
    if (point_)
        new LiveRowMark(editor, context_.session, *point_);
}

bool LiveTuning::isLive() const
{
    return run_ && run_->isLive();
}

void LiveTuning::entryShown(const TableDef* def)
{
    shown_ = def;
    if (point_)
        point_->entryShown(def);
}

void LiveTuning::closing()
{
    if (graph_)
        graph_->setOverlay({});
    if (hits_)
        hits_->closing();
    if (run_)
        run_->closing();
    if (point_)
        point_->closing();
    point_ = nullptr;
    hits_ = nullptr;
    run_ = nullptr;
    dialog_ = nullptr;
    graph_ = nullptr;
    shown_ = nullptr;
}

}  // namespace tavo
