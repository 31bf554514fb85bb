#pragma once
// The "Quick Viewer" dialog (174): the table list, the graph of the selected
// table with its read-outs and point dragging, and the value view of
// constants, choices and bit fields. Every change goes straight into the
// working image or its definitions.

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/qt/ModalRunner.h"
#include "viewer/TableList.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPaintEvent;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace tavo {

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
};

// Runs the modal "Quick Viewer" dialog with `run`; 1 for OK, 2 for
// Cancel/close/no tables (which the user has been told).
int openQuickViewer(QWidget* parent, const QuickViewerContext& context, const ModalRunner& run = execModal);

// The dialogs the viewer opens on the selected entry: "Table Information",
// "Table Editor" and "Scale Table" unless replaced (tests script them).
struct QuickViewerNestedDialogs {
    std::function<bool(QWidget*, TableDef&)> tableInformation;
    std::function<void(QWidget*, const TableDef&)> tableEditor;
    std::function<bool(QWidget*, TableDef&, ScalePercentages&)> scaleTable;

    static QuickViewerNestedDialogs standard();
};

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
    const QImage& graphImage() const { return graph_; }
    static QRect graphRect();

public slots:
    void reject() override;  // Cancel, Escape and the close box: result 2

protected:
    void paintEvent(QPaintEvent* event) override;
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
    void drawGraph();
    TableDef* currentEntry() const;
    QRect bandRect() const;

    void sortByColumn(int column);
    void onProperties();
    void onAdd();
    void onDelete();
    void onTabular();
    void onScale();
    void onOk();
    void onConstantEdited(const QString& text);
    void onChoiceClicked(int choice);
    void onFlagClicked(int bit, bool checked);

    QuickViewerContext context_;
    QuickViewerNestedDialogs nested_;
    bool hasTables_ = true;
    QImage graph_;
    std::optional<QPoint> bandCursor_;  // the cursor while a point is dragged over the graph
    std::vector<TableListRow> rows_;

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
};

}  // namespace tavo
