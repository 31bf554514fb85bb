#include "review/qt/HitCountPanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "common/TextFormat.h"
#include "common/qt/QtText.h"
#include "review/paint/HitPicturePainter.h"
#include "review/ChannelScales.h"
#include "review/TableChannelChoices.h"
#include "review/HitPictureGeometry.h"
#include "rom/RomImage.h"
#include "viewer/GraphMapping.h"

namespace tavo {

namespace {

QString entryText(const TableDef& def)
{
    return recordText(def.chryslerName) + "   " + recordText(def.name);
}

QString axisText(const std::string& label, const std::string& from, const std::string& to, const std::string& units)
{
    return recordText(label) + " (" + recordText(from) + " to " + recordText(to) + " " + recordText(units) + ")";
}

}  // namespace

HitCountPanel::HitCountPanel(const LogRun& run, const RomImage& workingImage, QWidget* parent)
    : QWidget(parent), run_(run), rom_(workingImage)
{
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    tables_ = new QComboBox(this);
    tables_->setObjectName("hitTable");
    channels_ = new QComboBox(this);
    channels_->setObjectName("hitChannel");
    valueChannels_ = new QComboBox(this);
    valueChannels_->setObjectName("hitValueChannel");
    valueChannels_->setToolTip("The channel whose mean, least and greatest over each point's rows are listed");
    valueChannels_->addItem("None");
    for (const RunChannel& channel : run.channels) {
        channels_->addItem(QString::fromUtf8(channel.title.c_str()));
        valueChannels_->addItem(QString::fromUtf8(channel.title.c_str()));
    }
    form->addRow("&Table:", tables_);
    form->addRow("Channel on its &x axis:", channels_);
    form->addRow("&Value:", valueChannels_);
    layout->addLayout(form);

    note_ = new QLabel(this);
    note_->setObjectName("hitNote");
    note_->setWordWrap(true);
    layout->addWidget(note_);
    axes_ = new QLabel(this);
    axes_->setObjectName("hitAxes");
    axes_->setWordWrap(true);
    layout->addWidget(axes_);

    pictureView_ = new QLabel;
    pictureView_->setObjectName("hitPicture");
    pictureScroll_ = new QScrollArea(this);
    pictureScroll_->setWidget(pictureView_);
    pictureScroll_->setWidgetResizable(false);
    pictureScroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    layout->addWidget(pictureScroll_);

    points_ = new QTableWidget(0, 4, this);
    points_->setObjectName("hitPoints");
    points_->setHorizontalHeaderLabels({"Point", "x", "y", "Hits"});
    points_->verticalHeader()->hide();
    points_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    points_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(points_, 1);

    connect(tables_, &QComboBox::currentIndexChanged, this, [this] {
        takeRememberedChannel();
        recount();
    });
    connect(channels_, &QComboBox::currentIndexChanged, this, [this] {
        rememberChannel();
        recount();
    });
    connect(valueChannels_, &QComboBox::currentIndexChanged, this, [this] { recount(); });
    refresh();
}

void HitCountPanel::fillTables()
{
    std::vector<int> entries;
    if (rom_.loaded)
        for (int i = 0; i < rom_.entryCount; ++i)
            if (isGraphType(rom_.tables[static_cast<std::size_t>(i)].type))
                entries.push_back(i);
    // By Chrysler name, whatever order the Quick Viewer last sorted the entries in.
    std::stable_sort(entries.begin(), entries.end(), [this](int a, int b) {
        return lessIgnoringCase(rom_.tables[static_cast<std::size_t>(a)].chryslerName,
                                rom_.tables[static_cast<std::size_t>(b)].chryslerName);
    });
    const int chosen = tables_->currentIndex() >= 0 && tables_->currentIndex() < static_cast<int>(entries_.size())
                           ? entries_[static_cast<std::size_t>(tables_->currentIndex())]
                           : -1;
    const QString chosenText = tables_->currentText();
    const QSignalBlocker quiet(tables_);
    tables_->clear();
    entries_ = entries;
    int keep = 0;
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        const QString text = entryText(rom_.tables[static_cast<std::size_t>(entries_[k])]);
        tables_->addItem(text);
        // The same table stays chosen after a reload or an edit.
        if (entries_[k] == chosen && text == chosenText)
            keep = static_cast<int>(k);
    }
    if (!entries_.empty())
        tables_->setCurrentIndex(keep);
}

void HitCountPanel::setChannelChoices(TableChannelChoices& choices)
{
    choices_ = &choices;
    takeRememberedChannel();
    recount();
}

void HitCountPanel::takeRememberedChannel()
{
    const int k = tables_->currentIndex();
    if (!choices_ || k < 0 || k >= static_cast<int>(entries_.size()))
        return;
    const auto title = choices_->channelFor(tableChoiceKey(rom_.tables[static_cast<std::size_t>(entries_[k])]));
    if (!title)
        return;
    for (std::size_t c = 0; c < run_.channels.size(); ++c)
        if (run_.channels[c].title == *title) {
            const QSignalBlocker quiet(channels_);
            channels_->setCurrentIndex(static_cast<int>(c));
            return;
        }
}

void HitCountPanel::rememberChannel()
{
    const int k = tables_->currentIndex();
    const int c = channels_->currentIndex();
    if (!choices_ || k < 0 || k >= static_cast<int>(entries_.size()) || c < 0 ||
        c >= static_cast<int>(run_.channels.size()))
        return;
    choices_->setChannelFor(tableChoiceKey(rom_.tables[static_cast<std::size_t>(entries_[k])]),
                            run_.channels[static_cast<std::size_t>(c)].title);
}

void HitCountPanel::setScales(const ChannelScales& scales)
{
    scales_ = &scales;
    recount();
}

void HitCountPanel::refresh()
{
    fillTables();
    recount();
}

bool HitCountPanel::chooseTable(int entryIndex)
{
    for (std::size_t k = 0; k < entries_.size(); ++k)
        if (entries_[k] == entryIndex) {
            tables_->setCurrentIndex(static_cast<int>(k));
            recount();
            return true;
        }
    return false;
}

void HitCountPanel::chooseChannel(int channel)
{
    channels_->setCurrentIndex(channel);
    recount();
}

void HitCountPanel::chooseValueChannel(int channel)
{
    valueChannels_->setCurrentIndex(channel + 1);
    recount();
}

void HitCountPanel::recount()
{
    counts_ = {};
    values_.clear();
    entry_ = -1;
    points_->setRowCount(0);
    axes_->clear();
    const int table = tables_->currentIndex();
    const int channel = channels_->currentIndex();
    if (entries_.empty()) {
        note_->setText(rom_.loaded ? "The working image has no Normal, FiveByte or Signed tables."
                                   : "Load a working ROM image to count how often the log fell on its table points.");
        drawPicture();
        return;
    }
    if (channel < 0 || table < 0) {
        note_->setText("The log has no channels.");
        drawPicture();
        return;
    }
    const int index = entries_[static_cast<std::size_t>(table)];
    const TableDef& def = rom_.tables[static_cast<std::size_t>(index)];
    const std::vector<TablePoint> points = tablePoints(rom_, def);
    const std::vector<std::uint8_t>& xValues = run_.channels[static_cast<std::size_t>(channel)].values;
    counts_ = countHits(pointXs(points), xValues);
    const int valueChannel = valueChannels_->currentIndex() - 1;
    if (valueChannel >= 0)
        values_ = pointValues(pointXs(points), xValues, run_.channels[static_cast<std::size_t>(valueChannel)].values);
    note_->setText(QString("%1 of %2 rows fell on a point; %3 below the smallest x, %4 above the largest.")
                       .arg(counts_.rows - counts_.below - counts_.above)
                       .arg(counts_.rows)
                       .arg(counts_.below)
                       .arg(counts_.above));
    axes_->setText("x: " + axisText(def.axes.xLabel, def.axes.xMin, def.axes.xMax, def.axes.xUnits) +
                   "\ny: " + axisText(def.axes.yLabel, def.axes.yMin, def.axes.yMax, def.axes.yUnits));
    entry_ = index;
    drawPicture();
    fillPoints(points);
}

void HitCountPanel::fillPoints(const std::vector<TablePoint>& points)
{
    std::optional<ChannelScale> scale;
    QStringList titles{"Point", "x", "y", "Hits"};
    if (!values_.empty()) {
        const std::string& title = run_.channels[static_cast<std::size_t>(valueChannels_->currentIndex() - 1)].title;
        if (scales_)
            scale = scales_->scaleFor(title);
        titles << "Mean" << "Min" << "Max";
        const QString unit = !scale ? "raw bytes" : scale->unit.empty() ? "scaled" : QString::fromStdString(scale->unit);
        axes_->setText(axes_->text() + "\nvalue: " + QString::fromUtf8(title.c_str()) + " (" + unit + ")");
    }
    points_->setColumnCount(static_cast<int>(titles.size()));
    points_->setHorizontalHeaderLabels(titles);
    points_->setRowCount(static_cast<int>(points.size()));
    auto put = [this](std::size_t row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        points_->setItem(static_cast<int>(row), column, item);
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        const int values[] = {static_cast<int>(i), points[i].x, points[i].y, counts_.hits[i]};
        for (int column = 0; column < 4; ++column)
            put(i, column, QString::number(values[column]));
        if (values_.empty())
            continue;
        const auto texts = pointValueTexts(values_[i], scale);
        for (std::size_t k = 0; k < texts.size(); ++k)
            put(i, 4 + static_cast<int>(k), QString::fromStdString(texts[k]));
    }
}

int HitCountPanel::pictureScale() const
{
    const int room = pictureScroll_->viewport()->width() - 2 * kHitMargin;
    return std::clamp(room / kGraphBitmapSize, 1, 3);
}

void HitCountPanel::drawPicture()
{
    scale_ = pictureScale();
    picture_ = entry_ >= 0 ? hitCountPicture(rom_, entry_, counts_, scale_) : QImage();
    pictureView_->setPixmap(QPixmap::fromImage(picture_));
    pictureView_->adjustSize();
    // As tall as the picture (room for a scroll bar), the point list below takes the rest.
    const int frame = 2 * pictureScroll_->frameWidth();
    pictureScroll_->setFixedHeight(std::max(picture_.height(), 40) + frame +
                                   pictureScroll_->horizontalScrollBar()->sizeHint().height());
}

void HitCountPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!values_.empty())
        recount();
}

void HitCountPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (pictureScale() != scale_)
        drawPicture();
}

}  // namespace tavo
