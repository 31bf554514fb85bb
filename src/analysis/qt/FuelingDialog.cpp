#include "analysis/qt/FuelingDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

#include "analysis/FuelingChoices.h"
#include "common/UserPrompts.h"
#include "rom/RomImage.h"
#include "viewer/paint/GraphPainter.h"

namespace tavo {

namespace {

constexpr int kMargin = 10;
constexpr int kColumnWidth = FuelingDialog::kGraphX - 2 * kMargin;
constexpr int kLabelHeight = 16;
constexpr int kFieldHeight = 24;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 26;

// Where each list sits in the column left of the graph: its label above it.
int listTop(int controlId)
{
    switch (controlId) {
    case kEngineListId: return FuelingDialog::kGraphY;
    case kInjectorListId: return FuelingDialog::kGraphY + 46;
    case kMapSensorListId: return FuelingDialog::kGraphY + 92;
    case kMaxRpmListId: return FuelingDialog::kGraphY + 138;
    default: return FuelingDialog::kGraphY + 194;  // the graphed table, without a label
    }
}

QString idName(int id)
{
    return QString::number(id);
}

}  // namespace

FuelingDialog::FuelingDialog(QWidget* parent, const RomImage& rom, const RomImage* comparison,
                             UserPrompts& prompts)
    : QDialog(parent), rom_(rom), comparison_(comparison)
{
    setObjectName(idName(kFuelingDialogId));
    setWindowTitle("Fueling");
    setFixedSize(kGraphX + kGraphBitmapSize + kMargin, kGraphY + kGraphBitmapSize + kMargin);
    buildControls();

    if (const auto found = requireFuelTables(rom_, prompts))
        tables_ = *found;
    else
        return;  // nothing is filled or drawn: the dialog closes before it shows
    fillControls();
    showTable(tables_.partThrottle);
}

void FuelingDialog::buildControls()
{
    summary_ = new QLineEdit(this);
    summary_->setObjectName(idName(kFuelSummaryId));
    summary_->setReadOnly(true);
    summary_->setGeometry(kMargin, kMargin + 6, kGraphX + kGraphBitmapSize - kMargin, kFieldHeight);

    for (const FuelingChoice& choice : fuelingChoices()) {
        const int top = listTop(choice.controlId);
        auto* list = new QComboBox(this);
        list->setObjectName(idName(choice.controlId));
        if (choice.editable) {
            list->setEditable(true);
            // Typed text is never taken into the list.
            list->setInsertPolicy(QComboBox::NoInsert);
        }
        if (choice.label.empty()) {
            list->setGeometry(kMargin, top, kColumnWidth, kFieldHeight);
        } else {
            auto* label = new QLabel(QString::fromStdString(choice.label), this);
            label->setObjectName("label" + idName(choice.controlId));
            label->setGeometry(kMargin, top, kColumnWidth, kLabelHeight);
            label->setBuddy(list);
            list->setGeometry(kMargin, top + kLabelHeight + 2, kColumnWidth, kFieldHeight);
        }
    }
    auto* graphList = findChild<QComboBox*>(idName(kGraphTableListId));
    // Only a choice made in the list switches the graph; typing does not.
    connect(graphList, &QComboBox::activated, this, &FuelingDialog::graphItemChosen);

    const int buttonTop = height() - kMargin - kButtonHeight;
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("1");
    ok->setDefault(true);
    ok->setGeometry(kMargin, buttonTop, kButtonWidth, kButtonHeight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("2");
    cancel->setGeometry(kGraphX - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FuelingDialog::fillControls()
{
    summary_->setText(QString::fromStdString(fuelTableSummary(rom_, tables_)));
    for (const FuelingChoice& choice : fuelingChoices()) {
        auto* list = findChild<QComboBox*>(idName(choice.controlId));
        list->clear();
        for (const std::string& item : choice.items)
            list->addItem(QString::fromStdString(item));
        list->setCurrentIndex(choice.preset);
    }
}

void FuelingDialog::showTable(int entry)
{
    if (entry < 0)
        return;
    drawTableGraph(graph_, rom_, entry, comparison_);
    shownTable_ = entry;
    update();
}

void FuelingDialog::graphItemChosen(int item)
{
    showTable(graphEntryForItem(tables_, item));
}

void FuelingDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (graph_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QRect(kGraphX, kGraphY, kGraphBitmapSize, kGraphBitmapSize), graph_,
                      QRect(0, 0, kGraphBitmapSize, kGraphBitmapSize));
}

void openFuelingDialog(QWidget* parent, const RomImage& rom, const RomImage* comparison, UserPrompts& prompts,
                       const ModalRunner& run)
{
    FuelingDialog dialog(parent, rom, comparison, prompts);
    if (dialog.tablesMissing())
        return;
    run(dialog);
}

}  // namespace tavo
