#pragma once
// The log window's table hit counts: one of the working image's Normal,
// FiveByte or Signed tables (listed by Chrysler name) and the logged
// channel that feeds its x axis; the table's curve with each point's hits
// drawn over it, and the points listed with their x, y and hits. A second
// channel ("Value:") adds its mean, least and greatest over each point's
// rows, in units where it has a scale. The tables are read again whenever
// the window comes to the front, so a load or an edit in the Quick Viewer
// shows.

#include <QImage>
#include <QWidget>

#include <vector>

#include "review/HitCounts.h"
#include "review/HitValues.h"
#include "review/LogRun.h"

class QComboBox;
class QLabel;
class QScrollArea;
class QTableWidget;

namespace tavo {

class ChannelScales;
class TableChannelChoices;
struct RomImage;

class HitCountPanel : public QWidget {
    Q_OBJECT
public:
    HitCountPanel(const LogRun& run, const RomImage& workingImage, QWidget* parent = nullptr);

    // Where the value channel's scale is kept; without, its raw bytes show.
    void setScales(const ChannelScales& scales);
    // Where each table's x-axis channel is remembered: a table chosen takes
    // its remembered channel (when the run has one of that title), and a
    // channel chosen is remembered for the table shown.
    void setChannelChoices(TableChannelChoices& choices);

    // Reads the working image's tables and the value channel's scale again
    // and redraws.
    void refresh();

    // Chooses a table by its entry index and a channel of the run; the value
    // channel by its index in the run, -1 for none.
    bool chooseTable(int entryIndex);
    void chooseChannel(int channel);
    void chooseValueChannel(int channel);

    const HitCounts& counts() const { return counts_; }
    // One per point while a value channel is chosen, else empty.
    const std::vector<PointValues>& values() const { return values_; }
    const QImage& picture() const { return picture_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The tab comes to the front: a scale may have changed in the Cursor tab.
    void showEvent(QShowEvent* event) override;

private:
    void fillTables();
    void takeRememberedChannel();
    void rememberChannel();
    void recount();
    void fillPoints(const std::vector<TablePoint>& points);
    void drawPicture();
    // The graph as large as the panel's width allows: one to three times
    // the Quick Viewer's size.
    int pictureScale() const;

    const LogRun& run_;
    const RomImage& rom_;
    std::vector<int> entries_;  // the entry index of each table in the list
    const ChannelScales* scales_ = nullptr;
    TableChannelChoices* choices_ = nullptr;
    HitCounts counts_;
    std::vector<PointValues> values_;
    QImage picture_;
    int entry_ = -1;  // the table counted, or -1
    int scale_ = 1;
    QComboBox* tables_ = nullptr;
    QComboBox* channels_ = nullptr;
    QComboBox* valueChannels_ = nullptr;  // "None", then the run's channels
    QLabel* note_ = nullptr;
    QLabel* axes_ = nullptr;
    QLabel* pictureView_ = nullptr;
    QScrollArea* pictureScroll_ = nullptr;
    QTableWidget* points_ = nullptr;
};

}  // namespace tavo
