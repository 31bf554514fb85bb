#pragma once
// "Differences": the definitions whose bytes differ from the comparison
// image, with what changed in each; "Go To" (or a double click) shows one in
// the Quick Viewer.

#include <QDialog>

class QTreeWidget;

namespace tavo {

struct ImageDifference;
struct RomImage;

class DifferencesDialog : public QDialog {
    Q_OBJECT
public:
    DifferencesDialog(const RomImage& rom, const ImageDifference& difference, QWidget* parent = nullptr);

    // The definition chosen (its index in the array), or -1.
    int chosenIndex() const;

private:
    QTreeWidget* list_ = nullptr;
};

// Runs the dialog; the index of the definition to go to, or -1 for Close.
int runDifferencesDialog(QWidget* parent, const RomImage& rom, const ImageDifference& difference);

}  // namespace tavo
