#pragma once
// The one way the logic talks to the user: file choosers, message boxes,
// questions and repaint requests. The Qt front end implements it with
// dialogs; tests use a scripted fake; tavo-cli never asks. (The image model
// adds its "ROM Information" step in rom/RomPrompts.h.)

#include <optional>
#include <string>
#include <string_view>

namespace tavo {

enum class MessageIcon { Information, Warning, Error, Question };
enum class QuestionButtons { YesNo, YesNoCancel };
enum class Answer { Yes, No, Cancel };

// What a file chooser shows: its title, one filter ("Rom Image Files" on
// "*.bin") and the name it starts with.
struct FileRequest {
    std::string title;
    std::string filterName;
    std::string pattern;
    std::string initialPath;
};

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseFileToOpen(const FileRequest& request) = 0;
    virtual std::optional<std::string> chooseFileToSave(const FileRequest& request) = 0;

    virtual void showMessage(std::string_view text, std::string_view title, MessageIcon icon) = 0;
    virtual Answer ask(std::string_view text, std::string_view title, QuestionButtons buttons) = 0;

    // The main window shows the working image's path: ask it to repaint.
    virtual void repaint() = 0;
};

}  // namespace tavo
