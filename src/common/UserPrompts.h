#pragma once
// The one way the logic talks to the user: file choosers, message boxes,
// questions and repaint requests. The Qt front end implements it with
// dialogs; tests use a scripted fake; tavo-cli never asks. (The image model
// adds its "ROM Information" step in rom/RomPrompts.h.)

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

enum class MessageIcon { Information, Warning, Error, Question };
enum class QuestionButtons { YesNo, YesNoCancel };
enum class Answer { Yes, No, Cancel };

struct FileFilter {
    std::string name;     // "CSV Files"
    std::string pattern;  // "*.csv"
};

// What a file chooser shows: its title, one filter ("Rom Image Files" on
// "*.bin") and the name it starts with; a save may offer more filters and
// ask before an existing file is replaced.
struct FileRequest {
    std::string title;
    std::string filterName;
    std::string pattern;
    std::string initialPath;
    std::vector<FileFilter> moreFilters{};
    bool confirmReplace = false;
};

// A name chosen to save under, and the filter chosen with it: 0 the
// request's own, n the n-th of moreFilters.
struct ChosenFile {
    std::string path;
    std::size_t filter = 0;
};

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseFileToOpen(const FileRequest& request) = 0;
    virtual std::optional<std::string> chooseFileToSave(const FileRequest& request) = 0;
    // A save with a choice of filters: the name and the filter chosen.
    virtual std::optional<ChosenFile> chooseFileToSaveAs(const FileRequest& request) = 0;

    virtual void showMessage(std::string_view text, std::string_view title, MessageIcon icon) = 0;
    virtual Answer ask(std::string_view text, std::string_view title, QuestionButtons buttons) = 0;

    // The main window shows the working image's path: ask it to repaint.
    virtual void repaint() = 0;
};

}  // namespace tavo
