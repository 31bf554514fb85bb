#include "live/qt/LiveTuning.h"

namespace tavo {

LiveTuning::LiveTuning(const LiveTuningContext& context, QObject* parent) : QObject(parent), context_(context) {}

LiveTuning::~LiveTuning() = default;

void LiveTuning::attach(QDialog& dialog, TableGraphView& graph)
{
    dialog_ = &dialog;
    graph_ = &graph;
}

void LiveTuning::entryShown(const TableDef* def)
{
    shown_ = def;
}

void LiveTuning::closing()
{
    dialog_ = nullptr;
    graph_ = nullptr;
    shown_ = nullptr;
}

}  // namespace tavo
