#include "viewer/qt/DifferencesDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/TextFormat.h"
#include "common/qt/QtText.h"
#include "rom/RomImage.h"
#include "viewer/ImageDiff.h"

namespace tavo {

namespace {

constexpr int kIndexRole = Qt::UserRole;

}  // namespace

DifferencesDialog::DifferencesDialog(const RomImage& rom, const ImageDifference& difference, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("differences"));
    setWindowTitle(QStringLiteral("Differences"));
    auto* headline = new QLabel(recordText(differenceHeadline(difference)), this);
    headline->setObjectName(QStringLiteral("headline"));
    headline->setWordWrap(true);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("differenceList"));
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Chrysler"),
                            QStringLiteral("Changes")});
    list_->header()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{0, 170}, std::pair{1, 60}, std::pair{2, 70}})
        list_->setColumnWidth(column, width);
    for (const DefinitionDifference& changed : difference.definitions) {
        const TableDef& def = rom.tables[static_cast<std::size_t>(changed.index)];
        auto* item = new QTreeWidgetItem(QStringList{
            recordText(def.name), recordText(hexLower(static_cast<std::uint32_t>(def.offset), 4, '0')),
            recordText(def.chryslerName), recordText(changeSummary(def, changed))});
        QStringList lines;
        for (const std::string& line : changeLines(def, changed))
            lines << recordText(line);
        item->setToolTip(3, lines.join(QLatin1Char('\n')));
        item->setData(0, kIndexRole, changed.index);
        list_->addTopLevelItem(item);
    }
    if (QTreeWidgetItem* first = list_->topLevelItem(0))
        list_->setCurrentItem(first);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* goTo = new QPushButton(QStringLiteral("Go To"), this);
    goTo->setObjectName(QStringLiteral("goToButton"));
    goTo->setDefault(true);
    goTo->setEnabled(list_->topLevelItemCount() > 0);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(goTo, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(goTo);
    buttons->addWidget(close);

    auto* page = new QVBoxLayout(this);
    page->addWidget(headline);
    page->addWidget(list_, 1);
    page->addLayout(buttons);
    resize(620, 360);
    list_->setFocus();
}

int DifferencesDialog::chosenIndex() const
{
    const QTreeWidgetItem* item = list_->currentItem();
    return item ? item->data(0, kIndexRole).toInt() : -1;
}

int runDifferencesDialog(QWidget* parent, const RomImage& rom, const ImageDifference& difference)
{
    DifferencesDialog dialog(rom, difference, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.chosenIndex() : -1;
}

}  // namespace tavo
