#pragma once
// The log window's cursor read-out: the cursor's row and time, and for each
// channel a box that shows or hides its trace, its colour and title, the
// raw byte at the cursor and the value in units where the channel has a
// scale. "Scale..." (or a double click) edits the chosen channel's scale.

#include <QWidget>

#include <optional>
#include <vector>

#include "common/qt/ModalRunner.h"
#include "logging/paint/TracePens.h"
#include "review/ChannelScales.h"
#include "review/LogRun.h"

class QLabel;
class QTableWidget;

namespace tavo {

class UserPrompts;

class ChannelPanel : public QWidget {
    Q_OBJECT
public:
    enum Column { TitleColumn, RawColumn, ValueColumn };

    ChannelPanel(const LogRun& run, const TracePens& pens, ChannelScales& scales, UserPrompts& prompts,
                 QWidget* parent = nullptr);

    // How the scale dialog is run; tests replace it.
    ModalRunner runModal = execModal;

    void showRow(int row);
    // Reads the scales again (another window may have changed them).
    void refreshScales();
    // Edits the scale of channel `channel` of the run.
    void editScale(int channel);

signals:
    void shownChanged(int channel, bool shown);

private:
    void fillValues();

    const LogRun& run_;
    ChannelScales& scales_;
    UserPrompts& prompts_;
    std::vector<std::optional<ChannelScale>> channelScales_;
    int row_ = -1;
    QLabel* cursorText_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace tavo
