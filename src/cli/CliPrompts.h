#pragma once
// The prompt interface for tavo-cli: it never asks. Messages go to stderr;
// questions are answered No and the ROM information step is declined.

#include <string>
#include <vector>

#include "rom/RomPrompts.h"

namespace tavo {

class CliPrompts : public RomPrompts {
public:
    std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileRequest&) override { return std::nullopt; }
    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override;
    Answer ask(std::string_view, std::string_view, QuestionButtons) override { return Answer::No; }
    bool runRomInformation(RomImage&) override { return false; }
    void repaint() override {}

    // Messages shown so far, in order.
    const std::vector<std::string>& messages() const { return messages_; }

private:
    std::vector<std::string> messages_;
};

}  // namespace tavo
