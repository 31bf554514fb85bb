#pragma once
// The prompt interface on Qt: file dialogs, message boxes and the ROM
// information dialog, owned by the main window.

#include <functional>

#include "rom/RomPrompts.h"

class QWidget;

namespace tavo {

class QtPrompts : public RomPrompts {
public:
    explicit QtPrompts(QWidget* owner, std::function<void()> repaint = {})
        : owner_(owner), repaint_(std::move(repaint)) {}

    std::optional<std::string> chooseFileToOpen(const FileRequest& request) override;
    std::optional<std::string> chooseFileToSave(const FileRequest& request) override;
    std::optional<ChosenFile> chooseFileToSaveAs(const FileRequest& request) override;
    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override;
    Answer ask(std::string_view text, std::string_view title, QuestionButtons buttons) override;
    bool runRomInformation(RomImage& record) override;
    void repaint() override;

private:
    QWidget* owner_;
    std::function<void()> repaint_;
};

}  // namespace tavo
