#pragma once
// What the program adds to the Quick Viewer from beyond the viewer: live
// tuning, a logging run beside the table graph. The viewer knows nothing of
// logging; the add-on is handed the dialog and its graph once, then told
// which entry the dialog shows and when the dialog closes. The graph's
// overlay (TableGraphView::setOverlay) is where it draws, and the graph's
// redrawn() signal says the curve changed (a dragged point, undo, scaling).

class QDialog;

namespace tavo {

class TableGraphView;
struct TableDef;

class QuickViewerAddOn {
public:
    virtual ~QuickViewerAddOn() = default;
    // Once, after the dialog has built its own controls.
    virtual void attach(QDialog& dialog, TableGraphView& graph) = 0;
    // The entry now on display, a graph or not; null when none is.
    virtual void entryShown(const TableDef* def) = 0;
    // The dialog is closing (OK, Cancel, Escape or the close box).
    virtual void closing() = 0;
};

}  // namespace tavo
