#pragma once
// What the program adds to the Quick Viewer from beyond the viewer: live
// tuning, a logging run beside the table graph. The viewer knows nothing of
// logging; the add-on is handed the dialog and its graph once, then told
// which entry the dialog shows and when the dialog closes. The graph's
// overlay (TableGraphView::setOverlay) is where it draws, and the graph's
// redrawn() signal says the curve changed (a dragged point, undo, scaling).
// The Table Editor ("Tabular...") is handed over while it is open, so that
// the add-on can mark a row in it.

class QDialog;

namespace tavo {

class TableEditorDialog;
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
    // The Table Editor opened on the entry shown; it is destroyed when it
    // closes (QObject::destroyed says so).
    virtual void tableEditorOpened(TableEditorDialog& /*editor*/) {}
};

}  // namespace tavo
