#pragma once
// A scripted stand-in for the user: file names and answers are queued in
// advance, and everything the program says is recorded for the test to read.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "rom/RomPrompts.h"

namespace tavo::test {

struct ShownMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
};

struct AskedQuestion {
    std::string text;
    std::string title;
    QuestionButtons buttons;
};

class ScriptedPrompts : public RomPrompts {
public:
    // nullopt entries stand for Cancel in the file dialog.
    std::deque<std::optional<std::string>> openNames;
    std::deque<std::optional<std::string>> saveNames;
    std::deque<Answer> answers;
    // The ROM information step; by default the user cancels it.
    std::function<bool(RomImage&)> romInformation;

    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
    std::vector<ShownMessage> messages;
    std::vector<AskedQuestion> questions;
    int romInformationRuns = 0;
    int repaints = 0;

    std::optional<std::string> chooseFileToOpen(const FileRequest& request) override
    {
        openRequests.push_back(request);
        return take(openNames);
    }
    std::optional<std::string> chooseFileToSave(const FileRequest& request) override
    {
        saveRequests.push_back(request);
        return take(saveNames);
    }
    // The filter chosen with the next save name (saveFilters empty: the first).
    std::deque<std::size_t> saveFilters;
    std::optional<ChosenFile> chooseFileToSaveAs(const FileRequest& request) override
    {
        const auto path = chooseFileToSave(request);
        std::size_t filter = 0;
        if (!saveFilters.empty()) {
            filter = saveFilters.front();
            saveFilters.pop_front();
        }
        if (!path)
            return std::nullopt;
        return ChosenFile{*path, filter};
    }
    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override
    {
        messages.push_back({std::string(text), std::string(title), icon});
    }
    Answer ask(std::string_view text, std::string_view title, QuestionButtons buttons) override
    {
        questions.push_back({std::string(text), std::string(title), buttons});
        if (answers.empty())
            return buttons == QuestionButtons::YesNoCancel ? Answer::Cancel : Answer::No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool runRomInformation(RomImage& record) override
    {
        ++romInformationRuns;
        return romInformation ? romInformation(record) : false;
    }
    void repaint() override { ++repaints; }

private:
    static std::optional<std::string> take(std::deque<std::optional<std::string>>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        auto next = queue.front();
        queue.pop_front();
        return next;
    }
};

}  // namespace tavo::test
