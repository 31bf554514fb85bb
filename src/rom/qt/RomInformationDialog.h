#pragma once
// The "ROM Information" dialog: load offset, description, author, injectors,
// boost and MAP sensor range of one image. OK stores them and the definition
// file at once.

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace tavo {

struct RomImage;
class UserPrompts;

class RomInformationDialog : public QDialog {
    Q_OBJECT
public:
    // Control ids of the dialog template (also the controls' object names).
    static constexpr int kOffsetId = 1009;
    static constexpr int kDescriptionId = 1010;
    static constexpr int kAuthorId = 1011;
    static constexpr int kInjectorsId = 1249;
    static constexpr int kBoostId = 1250;
    static constexpr int kMap2BarId = 1246;
    static constexpr int kMap25BarId = 1247;
    static constexpr int kMap3BarId = 1248;

    RomInformationDialog(RomImage& record, UserPrompts& prompts, QWidget* parent = nullptr);

    void accept() override;

private:
    RomImage& record_;
    UserPrompts& prompts_;
    QLineEdit* offset_;
    QLineEdit* description_;
    QLineEdit* author_;
    QLineEdit* injectors_;
    QLineEdit* boost_;
    QRadioButton* map2_;
    QRadioButton* map25_;
    QRadioButton* map3_;
};

}  // namespace tavo
