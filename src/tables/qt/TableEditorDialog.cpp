#include "tables/qt/TableEditorDialog.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVariant>
#include <QVBoxLayout>

#include "tables/TabularView.h"
#include "tables/qt/DialogParts.h"

namespace tavo {

namespace {

QLineEdit* readOnlyEdit(QWidget* owner, const QString& objectName, const std::string& text)
{
    auto* edit = new QLineEdit(owner);
    edit->setObjectName(objectName);
    edit->setReadOnly(true);
    edit->setText(recordText(text));
    return edit;
}

// The marked row: a light tint of the live marker's red, readable under
// black text, and bold.
const QColor kMarkedRow(255, 200, 200);

}  // namespace

TableEditorDialog::TableEditorDialog(const TableDef& def, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Table Editor"));
    const TabularView view = tabularViewOf(def);

    auto* heading = new QHBoxLayout;
    heading->addWidget(readOnlyEdit(this, QStringLiteral("titleEdit"), view.title), 1);
    QLineEdit* kind = readOnlyEdit(this, QStringLiteral("kindEdit"), view.kind);
    kind->setMaximumWidth(90);
    heading->addWidget(kind);

    // A list of rows, selected whole, like a report-mode list view.
    auto* grid = grid_ = new QTreeWidget(this);
    grid->setObjectName(QStringLiteral("rowGrid"));
    grid->setRootIsDecorated(false);
    grid->setItemsExpandable(false);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList headings;
    for (const TabularColumn& column : kTabularColumns)
        headings << recordText(column.heading);
    grid->setHeaderLabels(headings);
    grid->header()->setStretchLastSection(false);
    for (int c = 0; c < static_cast<int>(std::size(kTabularColumns)); ++c)
        grid->setColumnWidth(c, kTabularColumns[c].width);

    grid->setUpdatesEnabled(false);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(view.rows.size()));
    for (const TabularRow& row : view.rows) {
        auto* item = new QTreeWidgetItem(
            QStringList{recordText(row.compare), recordText(row.result), recordText(row.slope)});
        item->setData(0, Qt::UserRole, row.row);
        items.append(item);
    }
    grid->addTopLevelItems(items);
    grid->setUpdatesEnabled(true);

    auto* page = new QVBoxLayout(this);
    page->addLayout(heading);
    page->addWidget(grid, 1);
    page->addLayout(okCancelRow(this));
    resize(360, 400);
    // The rows are what the dialog is for; the title field is read-only.
    grid->setFocus();
}

void TableEditorDialog::setMarkedRow(int row)
{
    if (row < 0 || row >= grid_->topLevelItemCount())
        row = -1;
    if (row == marked_)
        return;
    auto mark = [this](int at, bool on) {
        QTreeWidgetItem* item = grid_->topLevelItem(at);
        if (!item)
            return;
        QFont bold = grid_->font();
        bold.setBold(true);
        for (int c = 0; c < grid_->columnCount(); ++c) {
            item->setData(c, Qt::BackgroundRole, on ? QVariant(QBrush(kMarkedRow)) : QVariant());
            item->setData(c, Qt::FontRole, on ? QVariant(bold) : QVariant());
        }
    };
    mark(marked_, false);
    marked_ = row;
    mark(marked_, true);
    if (QTreeWidgetItem* item = grid_->topLevelItem(marked_))
        grid_->scrollToItem(item, QAbstractItemView::EnsureVisible);
}

}  // namespace tavo
