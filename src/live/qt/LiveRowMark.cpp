#include "live/qt/LiveRowMark.h"

#include "live/qt/LivePointView.h"
#include "logging/Acquisition.h"
#include "logging/qt/LoggingSession.h"
#include "tables/qt/TableEditorDialog.h"

namespace tavo {

namespace {

// As the graph's overlay: a row followed 30 times a second is smooth enough.
constexpr int kFrameMs = 33;

}  // namespace

LiveRowMark::LiveRowMark(TableEditorDialog& editor, LoggingSession& session, const LivePointView& point)
    : QObject(&editor), editor_(editor), point_(point), frame_(this)
{
    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, [this] { show(); });
    connect(&session, &LoggingSession::ticked, this, [this](const TickRecord& record) {
        if (record.stored && !frame_.isActive())
            frame_.start();
    });
    show();
}

void LiveRowMark::show()
{
    // The editor passes on an unchanged row at once.
    editor_.setMarkedRow(point_.markedPoint());
}

}  // namespace tavo
