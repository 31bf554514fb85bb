#pragma once
// The prompt interface for tavo-cli: it never asks. Messages go to the error
// stream, each once; questions are answered No and the ROM information step
// is declined.

#include <iosfwd>
#include <string>
#include <vector>

#include "rom/RomPrompts.h"

namespace tavo {

class CliPrompts : public RomPrompts {
public:
    explicit CliPrompts(std::ostream& err) : err_(err) {}

    std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileRequest&) override { return std::nullopt; }
    std::optional<ChosenFile> chooseFileToSaveAs(const FileRequest&) override { return std::nullopt; }
    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override;
    Answer ask(std::string_view, std::string_view, QuestionButtons) override { return Answer::No; }
    bool runRomInformation(RomImage&) override { return false; }
    void repaint() override {}

    // Messages shown so far, in order.
    const std::vector<std::string>& messages() const { return messages_; }

private:
    std::ostream& err_;
    std::vector<std::string> messages_;
};

}  // namespace tavo
