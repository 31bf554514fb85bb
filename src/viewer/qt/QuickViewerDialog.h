#pragma once
// The "Quick Viewer" dialog (174): the table list, the graph of the selected
// table (TableGraphView) with its read-outs and point dragging, and the
// value view of constants, choices and bit fields. Every change goes
// straight into the working image or its definitions through
// QuickViewerCommands; the dialog fills its controls and hands input on.

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/qt/ModalRunner.h"
#include "viewer/QuickViewerCommands.h"
#include "viewer/TableList.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace tavo {

class EditHistory;
class QuickViewerAddOn;
struct ImageDifference;
struct RomImage;
struct QuickViewerState;
struct ScalePercentages;
struct TableDef;
class UserPrompts;

struct QuickViewerContext {
    RomImage& romImage;              // the working image
    const RomImage& comparisonImage;
    const bool& comparisonLoaded;    // draw the comparison curve while set
    QuickViewerState& state;
    ScalePercentages& scale;         // the Scale Table dialog's percentages
    UserPrompts& prompts;
    // Where every edit is recorded as a step, and what Ctrl+Z and Ctrl+Y
    // take back and do again; none: edits are not recorded.
    EditHistory* history = nullptr;
    // What the program adds beside the graph (live tuning); none by default.
    QuickViewerAddOn* addOn = nullptr;
};

// Runs the modal "Quick Viewer" dialog with `run`; 1 for OK, 2 for
// Cancel/close/no tables (which the user has been told).
int openQuickViewer(QWidget* parent, const QuickViewerContext& context, const ModalRunner& run = execModal);

// The dialogs the viewer opens: "Table Information", "Table Editor" and
// "Scale Table" on the selected entry, and "Differences" (which returns the
// index of the definition to go to, or -1), unless replaced (tests script them).
// The standard Table Editor is handed to `addOn` while it is open.
struct QuickViewerNestedDialogs {
    std::function<bool(QWidget*, TableDef&)> tableInformation;
    std::function<void(QWidget*, const TableDef&)> tableEditor;
    std::function<bool(QWidget*, TableDef&, ScalePercentages&)> scaleTable;
    std::function<int(QWidget*, const RomImage&, const ImageDifference&)> differences;

    static QuickViewerNestedDialogs standard(QuickViewerAddOn* addOn = nullptr);
};

class TableGraphView;

class QuickViewerDialog : public QDialog {
    Q_OBJECT
public:
    // Sorts the definitions by name, lists them and shows the first. Without
    // definitions the user is told "No Table Data to View" and the dialog
    // is finished with 2 at once (hasTables() is then false).
    explicit QuickViewerDialog(const QuickViewerContext& context, QWidget* parent = nullptr);
    ~QuickViewerDialog() override;

    void setNestedDialogs(QuickViewerNestedDialogs dialogs);

    bool hasTables() const { return hasTables_; }
    // The off-screen graph as last drawn; null before the first drawing.
    const QImage& graphImage() const;

public slots:
    void reject() override;  // Cancel, Escape and the close box: result 2
    void done(int result) override;  // tells the add-on the dialog closes

protected:
    // The mouse over the dialog itself acts on the graph, as over it.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildControls();
    bool refreshTableList();
    void selectRow(int row);
    void selectTableByName(const std::string& name);
    void onSelectionChanged();
    void showTable(int index);
    void showGraphView(const TableDef& def);
    void showValueView(const TableDef& def);
    void showChoices(const TableDef& def);
    void showFlags(const TableDef& def);
    void setGraphControlsShown(bool shown);
    void hideValueControls();
    void takeStep(bool forward);

    void sortByColumn(int column);
    void onProperties();
    void onAdd();
    void onDelete();
    void onTabular();
    void onScale();
    void onOk();
    void onDifferences();

    QuickViewerContext context_;
    QuickViewerNestedDialogs nested_;
    QuickViewerCommands commands_;
    bool hasTables_ = true;
    bool closed_ = false;  // the add-on has been told the dialog closes
    std::vector<TableListRow> rows_;

    TableGraphView* graph_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* typeText_ = nullptr;
    QLineEdit* chryslerName_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    std::vector<QLineEdit*> graphFields_;  // axis texts and read-outs
    std::array<QLineEdit*, 8> axes_{};  // in the order of kAxisFields
    QLineEdit* inReadout_ = nullptr;
    QLineEdit* outReadout_ = nullptr;
    QLabel* valueLabel_ = nullptr;
    QLineEdit* valueField_ = nullptr;
    std::array<QRadioButton*, 8> choices_{};
    std::array<QCheckBox*, 8> flags_{};
    QPushButton* differences_ = nullptr;
};

}  // namespace tavo
