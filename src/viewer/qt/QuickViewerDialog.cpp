#include "viewer/qt/QuickViewerDialog.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstddef>
#include <utility>

#include "common/TextFormat.h"
#include "common/UserPrompts.h"
#include "common/qt/UndoKeys.h"
#include "rom/EditHistory.h"
#include "rom/RomImage.h"
#include "tables/ScalePercentages.h"
#include "tables/TableDef.h"
#include "tables/TableFileWriter.h"
#include "tables/qt/TableDialogs.h"
#include "viewer/GraphReadouts.h"
#include "viewer/ImageDiff.h"
#include "viewer/PointDrag.h"
#include "common/qt/QtText.h"
#include "viewer/QuickViewerIds.h"
#include "viewer/QuickViewerState.h"
#include "viewer/TableListEditing.h"
#include "viewer/ValueView.h"
#include "viewer/paint/GraphPainter.h"
#include "viewer/qt/DifferencesDialog.h"

namespace tavo {

namespace {

constexpr int kDialogWidth = 780;
constexpr int kDialogHeight = 475;
constexpr int kIndexRole = Qt::UserRole;

QString idName(int id)
{
    return QString::number(id);
}

}  // namespace

QuickViewerNestedDialogs QuickViewerNestedDialogs::standard()
{
    return {runTableInformationDialog, runTableEditorDialog, runScaleTableDialog, runDifferencesDialog};
}

int openQuickViewer(QWidget* parent, const QuickViewerContext& context, const ModalRunner& run)
{
    QuickViewerDialog dialog(context, parent);
    if (!dialog.hasTables())
        return 2;
    return run(dialog) == 1 ? 1 : 2;
}

QuickViewerDialog::QuickViewerDialog(const QuickViewerContext& context, QWidget* parent)
    : QDialog(parent), context_(context), nested_(QuickViewerNestedDialogs::standard())
{
    setObjectName(idName(viewer_id::dialog));
    setWindowTitle(QStringLiteral("Quick Viewer"));
    setFixedSize(kDialogWidth, kDialogHeight);
    setMouseTracking(true);
    buildControls();
    addUndoKeys(this, [this] { takeStep(false); }, [this] { takeStep(true); });

    // The first refresh of an opening lists the tables by name.
    sortTables(context_.romImage, 0);
    bindTables(context_.romImage);
    absorbOrder();
    refreshTableList();
}

QuickViewerDialog::~QuickViewerDialog() = default;

void QuickViewerDialog::setNestedDialogs(QuickViewerNestedDialogs dialogs)
{
    nested_ = std::move(dialogs);
}

QRect QuickViewerDialog::graphRect()
{
    return {kGraphLeft, kGraphTop, kGraphBitmapSize, kGraphBitmapSize};
}

TableDef* QuickViewerDialog::currentEntry() const
{
    const int index = currentEntryIndex(context_.state, context_.romImage);
    return index < 0 ? nullptr : &context_.romImage.tables[static_cast<std::size_t>(index)];
}

bool QuickViewerDialog::refreshTableList()
{
    RomImage& rom = context_.romImage;
    QuickViewerState& state = context_.state;
    if (!reportWhenNoTables(rom, context_.prompts)) {
        hasTables_ = false;
        rows_.clear();
        list_->clear();
        done(2);
        return false;
    }
    state.dragIndex = -1;
    state.dragging = false;
    state.graphMode = true;
    graph_ = QImage();
    bandCursor_.reset();
    differences_->setEnabled(context_.comparisonLoaded);

    rows_ = tableListRows(rom);
    {
        const QSignalBlocker quiet(list_);
        list_->setUpdatesEnabled(false);
        list_->clear();
        QList<QTreeWidgetItem*> items;
        items.reserve(static_cast<qsizetype>(rows_.size()));
        for (const TableListRow& row : rows_) {
            auto* item = new QTreeWidgetItem(
                QStringList{recordText(row.name), recordText(row.address), recordText(row.type), recordText(row.chrysler)});
            item->setData(0, kIndexRole, row.index);
            items.append(item);
        }
        list_->addTopLevelItems(items);
        list_->setUpdatesEnabled(true);
    }
    selectRow(0);
    return true;
}

void QuickViewerDialog::selectRow(int row)
{
    QTreeWidgetItem* item = list_->topLevelItem(row);
    if (!item)
        return;
    {
        const QSignalBlocker quiet(list_);
        list_->setCurrentItem(item);
        item->setSelected(true);
    }
    list_->scrollToItem(item);
    showTable(item->data(0, kIndexRole).toInt());
}

void QuickViewerDialog::selectTableByName(const std::string& name)
{
    const int row = findRowByName(rows_, name);
    if (row >= 0)
        selectRow(row);
}

void QuickViewerDialog::onSelectionChanged()
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    showTable(selected.front()->data(0, kIndexRole).toInt());
}

void QuickViewerDialog::showTable(int index)
{
    context_.state.current = index;
    ++typingSession_;
    const TableDef* def = currentEntry();
    if (!def)
        return;
    setWindowTitle(recordText(viewerCaption(*def)));
    chryslerName_->setText(recordText(def->chryslerName));
    description_->setPlainText(recordText(def->description));
    address_->setText(recordText(hexLower(static_cast<std::uint32_t>(def->offset), 4, '0')));
    const std::string_view type = typeFieldText(def->type);
    typeText_->setText(QString::fromLatin1(type.data(), static_cast<int>(type.size())));
    if (isGraphType(def->type))
        showGraphView(*def);
    else if (!type.empty())
        showValueView(*def);
}

void QuickViewerDialog::setGraphControlsShown(bool shown)
{
    for (QLineEdit* field : graphFields_)
        field->setVisible(shown);
}

void QuickViewerDialog::hideValueControls()
{
    valueLabel_->hide();
    valueField_->hide();
    for (QRadioButton* choice : choices_)
        choice->hide();
    for (QCheckBox* flag : flags_)
        flag->hide();
}

void QuickViewerDialog::showGraphView(const TableDef& def)
{
    // The controls always follow the view, also when a refresh found the
    // viewer in graph mode while the value controls were still shown.
    QuickViewerState& state = context_.state;
    state.graphMode = true;
    hideValueControls();
    setGraphControlsShown(true);

    for (std::size_t k = 0; k < kAxisFields.size(); ++k)
        axes_[k]->setText(recordText(def.axes.*kAxisFields[k].member));

    drawGraph();
    update(graphRect());
    parseGraphRanges(state, def);
    inReadout_->setText(QStringLiteral(" "));
    outReadout_->setText(QStringLiteral(" "));
}

void QuickViewerDialog::showValueView(const TableDef& def)
{
    QuickViewerState& state = context_.state;
    if (state.graphMode) {
        state.graphMode = false;
        bandCursor_.reset();
        update();  // the graph area shows the dialog's background again
    }
    setGraphControlsShown(false);
    hideValueControls();
    switch (def.type) {
    case TableType::Const8:
    case TableType::Const16:
        valueField_->setText(recordText(constantText(context_.romImage.image, def)));
        valueLabel_->show();
        valueField_->show();
        break;
    case TableType::Value8:
        showChoices(def);
        break;
    case TableType::Flags8:
        showFlags(def);
        break;
    default:
        break;
    }
}

void QuickViewerDialog::showChoices(const TableDef& def)
{
    const auto controls = choiceButtons(context_.romImage.image, def);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        QRadioButton* choice = choices_[i];
        choice->setText(recordText(controls[i].label));
        choice->setChecked(controls[i].checked);
        choice->setVisible(controls[i].visible);
    }
}

void QuickViewerDialog::showFlags(const TableDef& def)
{
    const auto controls = flagBoxes(context_.romImage.image, def);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        QCheckBox* flag = flags_[i];
        flag->setText(recordText(controls[i].label));
        flag->setChecked(controls[i].checked);
        flag->setVisible(controls[i].visible);
    }
}

void QuickViewerDialog::drawGraph()
{
    const RomImage* comparison = context_.comparisonLoaded ? &context_.comparisonImage : nullptr;
    drawTableGraph(graph_, context_.romImage, currentEntryIndex(context_.state, context_.romImage), comparison);
}

void QuickViewerDialog::sortByColumn(int column)
{
    const TableDef* def = currentEntry();
    const std::string name = def ? def->name : std::string();
    sortTables(context_.romImage, column);
    bindTables(context_.romImage);
    absorbOrder();
    if (refreshTableList())
        selectTableByName(name);
}

void QuickViewerDialog::onProperties()
{
    TableDef* def = currentEntry();
    if (!def)
        return;
    // Whatever the dialog's answer, the definitions are stored and relisted.
    nested_.tableInformation(this, *def);
    const std::string name = def->name;
    storeTableFile(context_.romImage, context_.prompts);
    bindTables(context_.romImage);
    recordStep("Change Definition");
    if (refreshTableList())
        selectTableByName(name);
}

void QuickViewerDialog::onAdd()
{
    RomImage& rom = context_.romImage;
    const int added = addTable(rom, context_.prompts);
    if (added < 0)
        return;
    // Bound before the Table Information dialog sees it, like every other entry.
    bindTables(rom);
    context_.state.current = added;
    TableDef& def = rom.tables[static_cast<std::size_t>(added)];
    nested_.tableInformation(this, def);
    const std::string name = def.name;
    storeTableFile(rom, context_.prompts);
    bindTables(rom);
    recordStep("Add Definition");
    if (refreshTableList())
        selectTableByName(name);
}

void QuickViewerDialog::onDelete()
{
    RomImage& rom = context_.romImage;
    const TableDef* def = currentEntry();
    const std::string name = def ? def->name : std::string();
    deleteTable(rom, currentEntryIndex(context_.state, rom), context_.prompts);
    storeTableFile(rom, context_.prompts);
    bindTables(rom);
    // Undone, the table comes back and is shown.
    if (context_.history)
        context_.history->record(rom, "Delete Definition", name);
    refreshTableList();
}

void QuickViewerDialog::onTabular()
{
    TableDef* def = currentEntry();
    if (!context_.state.graphMode || !def)
        return;
    nested_.tableEditor(this, *def);
    recordStep("Table Editor");
    drawGraph();
    update(graphRect());
}

void QuickViewerDialog::onScale()
{
    TableDef* def = currentEntry();
    if (!context_.state.graphMode || !def)
        return;
    nested_.scaleTable(this, *def, context_.scale);
    recordStep("Scale Table");
    // Scaling rewrites the table's bytes: show what the image now holds.
    drawGraph();
    update(graphRect());
}

void QuickViewerDialog::onOk()
{
    graph_ = QImage();
    done(1);
}

void QuickViewerDialog::reject()
{
    done(2);
}

void QuickViewerDialog::onDifferences()
{
    if (!context_.comparisonLoaded)
        return;
    const ImageDifference difference = compareWithComparison(context_.romImage, context_.comparisonImage);
    const int index = nested_.differences(this, context_.romImage, difference);
    for (std::size_t row = 0; index >= 0 && row < rows_.size(); ++row) {
        if (rows_[row].index == index) {
            selectRow(static_cast<int>(row));
            return;
        }
    }
}

void QuickViewerDialog::recordStep(std::string_view name, std::uint64_t mergeKey)
{
    if (!context_.history)
        return;
    const TableDef* def = currentEntry();
    context_.history->record(context_.romImage, name, def ? std::string_view(def->name) : std::string_view(),
                             mergeKey);
}

void QuickViewerDialog::absorbOrder()
{
    if (context_.history)
        context_.history->absorb(context_.romImage);
}

void QuickViewerDialog::takeStep(bool forward)
{
    EditHistory* history = context_.history;
    if (!history)
        return;
    const TableDef* shown = currentEntry();
    const std::string shownName = shown ? shown->name : std::string();
    const EditStep* step = forward ? history->redo(context_.romImage) : history->undo(context_.romImage);
    if (!step)
        return;
    const std::string named = focusOf(*step, !forward);
    const std::string focus = named.empty() ? shownName : named;
    if (step->changesDefinitions()) {
        if (!refreshTableList())
            return;  // no definition is left: the viewer has closed
    } else {
        // A drag in progress is over: its point may have moved.
        context_.state.dragging = false;
        context_.state.dragIndex = -1;
        bandCursor_.reset();
    }
    // The table the step changed is shown as it now is.
    int row = findRowByName(rows_, focus);
    if (row < 0)
        row = findRowByName(rows_, shownName);
    if (row >= 0)
        selectRow(row);
    else if (currentEntry())
        showTable(context_.state.current);
}

void QuickViewerDialog::onConstantEdited(const QString& text)
{
    if (const TableDef* def = currentEntry()) {
        writeConstantText(context_.romImage.image, *def, recordBytes(text));
        recordStep("Edit Constant", typingSession_);
    }
}

void QuickViewerDialog::onChoiceClicked(int choice)
{
    const TableDef* def = currentEntry();
    if (!def || def->type != TableType::Value8)
        return;
    writeChoice(context_.romImage.image, *def, choice);
    recordStep("Change Choice");
    showChoices(*def);
}

void QuickViewerDialog::onFlagClicked(int bit, bool checked)
{
    const TableDef* def = currentEntry();
    if (!def || def->type != TableType::Flags8)
        return;
    writeFlag(context_.romImage.image, *def, bit, checked);
    recordStep("Change Bit");
}

QRect QuickViewerDialog::bandRect() const
{
    if (!bandCursor_)
        return {};
    const auto band = rubberBand(context_.state, bandCursor_->x(), bandCursor_->y());
    int left = band[0].x, right = band[0].x, top = band[0].y, bottom = band[0].y;
    for (const DialogPoint& p : band) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-1, -1, 1, 1);
}

void QuickViewerDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    const QuickViewerState& state = context_.state;
    if (!state.graphMode)
        return;
    QPainter painter(this);
    if (!graph_.isNull())
        painter.drawImage(graphRect().topLeft(), graph_);
    if (state.dragging && state.dragIndex != -1 && bandCursor_) {
        const auto band = rubberBand(state, bandCursor_->x(), bandCursor_->y());
        QPen pen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setCosmetic(true);
        painter.setPen(pen);
        const QPoint points[] = {{band[0].x, band[0].y}, {band[1].x, band[1].y}, {band[2].x, band[2].y}};
        painter.drawPolyline(points, 3);
    }
}

void QuickViewerDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !context_.state.graphMode) {
        QDialog::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    bandCursor_.reset();
    beginPointDrag(context_.state, context_.romImage, at.x(), at.y());
}

void QuickViewerDialog::mouseMoveEvent(QMouseEvent* event)
{
    QuickViewerState& state = context_.state;
    if (!state.graphMode) {
        QDialog::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (state.dragging) {
        // Wipe the previous band: the area is repainted from the bitmap.
        update(bandRect() | graphRect());
        bandCursor_.reset();
    }
    const auto readouts = updateReadouts(state, context_.romImage, at.x(), at.y());
    if (!readouts)
        return;
    inReadout_->setText(recordText(readouts->in));
    outReadout_->setText(recordText(readouts->out));
    if (state.dragging && state.dragIndex != -1) {
        bandCursor_ = at;
        update(bandRect());
    }
}

void QuickViewerDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !context_.state.graphMode) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const QRect oldBand = bandRect();
    bandCursor_.reset();
    if (endPointDrag(context_.state, context_.romImage, at.x(), at.y())) {
        recordStep("Drag Point");
        drawGraph();
        update(oldBand | graphRect());
    }
}

}  // namespace tavo
