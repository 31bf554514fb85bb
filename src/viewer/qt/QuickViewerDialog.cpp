#include "viewer/qt/QuickViewerDialog.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <cstddef>
#include <utility>

#include "common/TextFormat.h"
#include "common/qt/QtText.h"
#include "common/qt/UndoKeys.h"
#include "rom/RomImage.h"
#include "tables/TableDef.h"
#include "viewer/GraphReadouts.h"
#include "viewer/ImageDiff.h"
#include "viewer/QuickViewerIds.h"
#include "viewer/QuickViewerState.h"
#include "viewer/ValueView.h"
#include "viewer/qt/QuickViewerAddOn.h"
#include "viewer/qt/TableGraphView.h"

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

int openQuickViewer(QWidget* parent, const QuickViewerContext& context, const ModalRunner& run)
{
    QuickViewerDialog dialog(context, parent);
    if (!dialog.hasTables())
        return 2;
    return run(dialog) == 1 ? 1 : 2;
}

QuickViewerDialog::QuickViewerDialog(const QuickViewerContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      nested_(QuickViewerNestedDialogs::standard(context.addOn)),
      commands_(context.romImage, context.state, context.prompts, context.history)
{
    setObjectName(idName(viewer_id::dialog));
    setWindowTitle(QStringLiteral("Quick Viewer"));
    setFixedSize(kDialogWidth, kDialogHeight);
    setMouseTracking(true);
    buildControls();
    addUndoKeys(this, [this] { takeStep(false); }, [this] { takeStep(true); });
    if (context_.addOn)
        context_.addOn->attach(*this, *graph_);

    // The first refresh of an opening lists the tables by name.
    commands_.open();
    refreshTableList();
}

QuickViewerDialog::~QuickViewerDialog() = default;

void QuickViewerDialog::setNestedDialogs(QuickViewerNestedDialogs dialogs)
{
    nested_ = std::move(dialogs);
}

const QImage& QuickViewerDialog::graphImage() const
{
    return graph_->image();
}

bool QuickViewerDialog::refreshTableList()
{
    if (!commands_.relist()) {
        hasTables_ = false;
        rows_.clear();
        list_->clear();
        done(2);
        return false;
    }
    graph_->clear();
    graph_->show();
    differences_->setEnabled(context_.comparisonLoaded);

    rows_ = tableListRows(context_.romImage);
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
    commands_.show(index);
    const TableDef* def = commands_.current();
    if (context_.addOn)
        context_.addOn->entryShown(def);
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
    graph_->show();

    for (std::size_t k = 0; k < kAxisFields.size(); ++k)
        axes_[k]->setText(recordText(def.axes.*kAxisFields[k].member));

    graph_->redraw();
    parseGraphRanges(state, def);
    inReadout_->setText(QStringLiteral(" "));
    outReadout_->setText(QStringLiteral(" "));
}

void QuickViewerDialog::showValueView(const TableDef& def)
{
    QuickViewerState& state = context_.state;
    if (state.graphMode) {
        state.graphMode = false;
        graph_->endDrag();
        graph_->hide();  // the graph area shows the dialog's background again
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

void QuickViewerDialog::sortByColumn(int column)
{
    const std::string name = commands_.sortBy(column);
    if (refreshTableList())
        selectTableByName(name);
}

void QuickViewerDialog::onProperties()
{
    // Whatever the dialog's answer, the definitions are stored and relisted.
    const auto name = commands_.changeDefinition([this](TableDef& def) { nested_.tableInformation(this, def); });
    if (name && refreshTableList())
        selectTableByName(*name);
}

void QuickViewerDialog::onAdd()
{
    const auto name = commands_.addDefinition([this](TableDef& def) { nested_.tableInformation(this, def); });
    if (name && refreshTableList())
        selectTableByName(*name);
}

void QuickViewerDialog::onDelete()
{
    commands_.deleteDefinition();
    refreshTableList();
}

void QuickViewerDialog::onTabular()
{
    if (commands_.editTable([this](TableDef& def) { nested_.tableEditor(this, def); }))
        graph_->redraw();
}

void QuickViewerDialog::onScale()
{
    // Scaling rewrites the table's bytes: the graph shows what the image now holds.
    if (commands_.scaleTable([this](TableDef& def) { nested_.scaleTable(this, def, context_.scale); }))
        graph_->redraw();
}

void QuickViewerDialog::onOk()
{
    graph_->clear();
    done(1);
}

void QuickViewerDialog::reject()
{
    done(2);
}

void QuickViewerDialog::done(int result)
{
    if (context_.addOn && !closed_) {
        closed_ = true;
        context_.addOn->closing();
    }
    QDialog::done(result);
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

void QuickViewerDialog::takeStep(bool forward)
{
    const auto shown = commands_.takeStep(forward);
    if (!shown)
        return;
    if (shown->relist) {
        if (!refreshTableList())
            return;  // no definition is left: the viewer has closed
    } else {
        graph_->endDrag();
    }
    for (const std::string& name : shown->select) {
        if (const int row = findRowByName(rows_, name); row >= 0) {
            selectRow(row);
            return;
        }
    }
    if (commands_.current())
        showTable(context_.state.current);
}

void QuickViewerDialog::mousePressEvent(QMouseEvent* event)
{
    if (!graph_->press(event->button(), event->position().toPoint()))
        QDialog::mousePressEvent(event);
}

void QuickViewerDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (!graph_->moveTo(event->position().toPoint()))
        QDialog::mouseMoveEvent(event);
}

void QuickViewerDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (!graph_->release(event->button(), event->position().toPoint()))
        QDialog::mouseReleaseEvent(event);
}

}  // namespace tavo
