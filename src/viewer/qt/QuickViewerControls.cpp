// The Quick Viewer's controls, placed as the dialog template places them.
#include "viewer/qt/QuickViewerDialog.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <cstddef>

#include "common/qt/QtText.h"
#include "common/qt/UndoKeys.h"
#include "tables/TableDef.h"
#include "viewer/QuickViewerIds.h"
#include "viewer/TableList.h"
#include "viewer/qt/CutTextTips.h"
#include "viewer/qt/TableGraphView.h"

namespace tavo {

namespace {

constexpr int kFieldHeight = 22;
constexpr int kButtonWidth = 85;
constexpr int kButtonHeight = 26;

QString idName(int id)
{
    return QString::number(id);
}

QLineEdit* readOnlyField(QWidget* parent, int id, QRect at)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(idName(id));
    field->setReadOnly(true);
    field->setGeometry(at);
    return field;
}

// The axis texts around the graph, in the order of kAxisFields: x below
// it, y to its right.
struct AxisPlace {
    int id;
    QRect at;
};
const std::array<AxisPlace, 8> kAxisPlaces = {{
    {viewer_id::xLabel, {465, 268, 128, kFieldHeight}},
    {viewer_id::xMin, {400, 268, 60, kFieldHeight}},
    {viewer_id::xMax, {598, 268, 60, kFieldHeight}},
    {viewer_id::xUnits, {465, 293, 128, kFieldHeight}},
    {viewer_id::yLabel, {665, 110, 105, kFieldHeight}},
    {viewer_id::yMin, {665, 241, 105, kFieldHeight}},
    {viewer_id::yMax, {665, 5, 105, kFieldHeight}},
    {viewer_id::yUnits, {665, 135, 105, kFieldHeight}},
}};

void staticLabel(QWidget* parent, const char* text, QRect at)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(at);
}

}  // namespace

void QuickViewerDialog::buildControls()
{
    // Below every other control: in the value view it is hidden and the
    // value controls take its place.
    graph_ = new TableGraphView(commands_, context_.comparisonImage, context_.comparisonLoaded, this);
    connect(graph_, &TableGraphView::readoutsChanged, this, [this](const QString& in, const QString& out) {
        inReadout_->setText(in);
        outReadout_->setText(out);
    });

    list_ = new QTreeWidget(this);
    list_->setObjectName(idName(viewer_id::tableList));
    list_->setGeometry(5, 5, 390, 300);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setItemsExpandable(false);
    list_->setSortingEnabled(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    list_->setColumnCount(static_cast<int>(kListColumns.size()));
    QStringList titles;
    for (const ListColumn& column : kListColumns)
        titles << QString::fromLatin1(column.title.data(), static_cast<int>(column.title.size()));
    list_->setHeaderLabels(titles);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionsClickable(true);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (std::size_t i = 0; i < kListColumns.size(); ++i)
        list_->setColumnWidth(static_cast<int>(i), kListColumns[i].width);
    showCutTextAsTips(*list_);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &QuickViewerDialog::onSelectionChanged);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { onProperties(); });
    connect(list_->header(), &QHeaderView::sectionClicked, this, &QuickViewerDialog::sortByColumn);

    staticLabel(this, "Address:", {5, 312, 55, 20});
    address_ = readOnlyField(this, viewer_id::address, {60, 310, 60, kFieldHeight});
    staticLabel(this, "Chrysler:", {130, 312, 55, 20});
    chryslerName_ = readOnlyField(this, viewer_id::chryslerName, {185, 310, 80, kFieldHeight});
    staticLabel(this, "Type:", {5, 337, 55, 20});
    typeText_ = readOnlyField(this, viewer_id::typeText, {60, 335, 205, kFieldHeight});
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(idName(viewer_id::description));
    description_->setReadOnly(true);
    description_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    description_->setGeometry(5, 362, 390, 70);

    for (std::size_t k = 0; k < kAxisFields.size(); ++k) {
        axes_[k] = readOnlyField(this, kAxisPlaces[k].id, kAxisPlaces[k].at);
        graphFields_.push_back(axes_[k]);
    }
    inReadout_ = readOnlyField(this, viewer_id::inReadout, {400, 322, 125, kFieldHeight});
    outReadout_ = readOnlyField(this, viewer_id::outReadout, {533, 322, 125, kFieldHeight});
    graphFields_.push_back(inReadout_);
    graphFields_.push_back(outReadout_);

    valueLabel_ = new QLabel(QStringLiteral("Value:"), this);
    valueLabel_->setObjectName(idName(viewer_id::valueLabel));
    valueLabel_->setGeometry(410, 20, 45, kFieldHeight);
    valueField_ = new QLineEdit(this);
    valueField_->setObjectName(idName(viewer_id::valueField));
    valueField_->setGeometry(460, 20, 80, kFieldHeight);
    connect(valueField_, &QLineEdit::textEdited, this,
            [this](const QString& text) { commands_.typeConstant(recordBytes(text)); });
    leaveUndoKeysToWindow(valueField_);
    for (int i = 0; i < 8; ++i) {
        const QRect at(410, 15 + 28 * i, 245, kFieldHeight);
        auto* choice = new QRadioButton(this);
        choice->setObjectName(idName(viewer_id::firstChoice + i));
        // Two choices may share a value; the byte decides which are checked.
        choice->setAutoExclusive(false);
        choice->setGeometry(at);
        connect(choice, &QRadioButton::clicked, this, [this, i] {
            if (commands_.chooseChoice(i))
                showChoices(*commands_.current());
        });
        choices_[static_cast<std::size_t>(i)] = choice;
        auto* flag = new QCheckBox(this);
        flag->setObjectName(idName(viewer_id::firstFlag + i));
        flag->setGeometry(at);
        connect(flag, &QCheckBox::clicked, this, [this, i](bool checked) { commands_.setFlag(i, checked); });
        flags_[static_cast<std::size_t>(i)] = flag;
    }
    hideValueControls();

    struct ButtonPlace {
        int id;
        const char* text;
        int x;
        void (QuickViewerDialog::*action)();
    };
    const ButtonPlace buttons[] = {
        {viewer_id::properties, "Properties...", 5, &QuickViewerDialog::onProperties},
        {viewer_id::add, "Add...", 95, &QuickViewerDialog::onAdd},
        {viewer_id::remove, "Delete...", 185, &QuickViewerDialog::onDelete},
        {viewer_id::tabular, "Tabular...", 275, &QuickViewerDialog::onTabular},
        {viewer_id::scale, "Scale...", 365, &QuickViewerDialog::onScale},
        {viewer_id::send, "Send", 455, nullptr},  // no action
        {viewer_id::differences, "Differences...", 545, &QuickViewerDialog::onDifferences},
        {viewer_id::ok, "OK", 685, &QuickViewerDialog::onOk},
    };
    for (const ButtonPlace& place : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(place.text), this);
        button->setObjectName(idName(place.id));
        button->setGeometry(place.x, 440, kButtonWidth, kButtonHeight);
        button->setAutoDefault(false);
        if (place.id == viewer_id::ok)
            button->setDefault(true);
        if (place.action)
            connect(button, &QPushButton::clicked, this, place.action);
        if (place.id == viewer_id::differences)
            differences_ = button;
    }
}

}  // namespace tavo
