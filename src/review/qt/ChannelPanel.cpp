#include "review/qt/ChannelPanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/TextFormat.h"
#include "common/UserPrompts.h"
#include "review/qt/ChannelScaleDialog.h"

namespace tavo {

namespace {

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    painter.fillRect(2, 5, 10, 4, colour);
    return QIcon(pixmap);
}

}  // namespace

ChannelPanel::ChannelPanel(const LogRun& run, const TracePens& pens, ChannelScales& scales, UserPrompts& prompts,
                           QWidget* parent)
    : QWidget(parent), run_(run), scales_(scales), prompts_(prompts)
{
    auto* layout = new QVBoxLayout(this);
    cursorText_ = new QLabel(this);
    cursorText_->setObjectName("cursorText");
    layout->addWidget(cursorText_);

    table_ = new QTableWidget(static_cast<int>(run.channels.size()), 3, this);
    table_->setObjectName("channels");
    table_->setHorizontalHeaderLabels({"Channel", "Raw", "Value"});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(TitleColumn, QHeaderView::Stretch);
    for (int c = 0; c < static_cast<int>(run.channels.size()); ++c) {
        const RunChannel& channel = run.channels[static_cast<std::size_t>(c)];
        auto* title = new QTableWidgetItem(swatch(pens[static_cast<std::size_t>(channel.slot)].color()),
                                           QString::fromUtf8(channel.title.c_str()));
        title->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        title->setCheckState(Qt::Checked);
        title->setToolTip("Untick to hide the trace");
        table_->setItem(c, TitleColumn, title);
        for (const int column : {RawColumn, ValueColumn}) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(c, column, item);
        }
    }
    if (!run.channels.empty())
        table_->selectRow(0);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == TitleColumn)
            emit shownChanged(item->row(), item->checkState() == Qt::Checked);
    });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { editScale(row); });
    layout->addWidget(table_);

    auto* scale = new QPushButton("&Scale...", this);
    scale->setObjectName("scale");
    scale->setToolTip("The factor, offset and unit that turn the chosen channel's raw byte into a value");
    connect(scale, &QPushButton::clicked, this, [this] { editScale(table_->currentRow()); });
    layout->addWidget(scale, 0, Qt::AlignLeft);

    refreshScales();
}

void ChannelPanel::refreshScales()
{
    channelScales_.clear();
    for (const RunChannel& channel : run_.channels)
        channelScales_.push_back(scales_.scaleFor(channel.title));
    fillValues();
}

void ChannelPanel::showRow(int row)
{
    row_ = row;
    fillValues();
}

void ChannelPanel::fillValues()
{
    const bool inRun = row_ >= 0 && row_ < run_.rowCount();
    cursorText_->setText(QString::fromStdString(cursorReadoutText(run_, row_)));
    for (std::size_t c = 0; c < run_.channels.size(); ++c) {
        const int row = static_cast<int>(c);
        if (!inRun) {
            table_->item(row, RawColumn)->setText({});
            table_->item(row, ValueColumn)->setText({});
            continue;
        }
        const int raw = run_.channels[c].values[static_cast<std::size_t>(row_)];
        table_->item(row, RawColumn)->setText(QString::number(raw));
        table_->item(row, ValueColumn)->setText(
            channelScales_[c] ? QString::fromStdString(scaledText(raw, *channelScales_[c])) : QString());
    }
}

void ChannelPanel::editScale(int channel)
{
    if (channel < 0 || channel >= static_cast<int>(run_.channels.size()))
        return;
    const std::string& title = run_.channels[static_cast<std::size_t>(channel)].title;
    ChannelScaleDialog dialog(title, scales_.scaleFor(title), this);
    if (runModal(dialog) != QDialog::Accepted)
        return;
    if (!scales_.setScale(title, dialog.scale()))
        prompts_.showMessage("Unable to keep the scale of " + title + ": TaVO's settings file cannot be written.",
                             "TaVO Error", MessageIcon::Warning);
    refreshScales();
}

}  // namespace tavo
