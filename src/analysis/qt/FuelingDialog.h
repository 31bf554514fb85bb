#pragma once
// The "Fueling" dialog: the four fuel tables' addresses, the engine,
// injector, MAP sensor and engine-speed choices, and the graph of the full-,
// part- or idle-throttle fuel table beside them.

#include <QDialog>
#include <QImage>

#include "analysis/FuelTables.h"
#include "common/qt/ModalRunner.h"

class QComboBox;
class QLineEdit;
class QPaintEvent;

namespace tavo {

struct RomImage;
class UserPrompts;

// Runs the modal "Fueling" dialog on the working image with `run`; the graph
// shows the comparison image's curve too when `comparison` is not null.
// Without the four fuel tables the user is told and nothing is run.
void openFuelingDialog(QWidget* parent, const RomImage& rom, const RomImage* comparison, UserPrompts& prompts,
                       const ModalRunner& run = execModal);

class FuelingDialog : public QDialog {
    Q_OBJECT
public:
    // Looks the fuel tables up at once; without all four it tells the user
    // and is finished (tablesMissing()) before it was ever shown.
    FuelingDialog(QWidget* parent, const RomImage& rom, const RomImage* comparison, UserPrompts& prompts);

    bool tablesMissing() const { return !tables_.complete(); }
    // The entry whose graph is shown, -1 before any is drawn.
    int shownTable() const { return shownTable_; }
    const QImage& graph() const { return graph_; }

    static constexpr int kGraphX = 230;
    static constexpr int kGraphY = 55;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void fillControls();
    void showTable(int entry);
    void graphItemChosen(int item);

    const RomImage& rom_;
    const RomImage* comparison_;
    FuelTables tables_;
    QImage graph_;
    int shownTable_ = -1;
    QLineEdit* summary_ = nullptr;
};

}  // namespace tavo
