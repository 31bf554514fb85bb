#pragma once
// The main window's menu bar and accelerator table as data: the Qt front end
// builds its menus from it, and tests check it without a window.

#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct MenuEntry {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    std::string text;        // with "&" before the mnemonic and "\t" before the shown shortcut
    int id = 0;              // the command id; 0 for an entry with no command behind it
    bool enabled = true;
    std::vector<MenuEntry> children;  // a popup's entries
};

// The popups of the menu bar, in order.
const std::vector<MenuEntry>& mainMenu();

struct Accelerator {
    std::string keys;  // in Qt's portable key-sequence text, e.g. "Ctrl+L", "Alt+/"
    int id;
};

// The accelerator table: keys that send a command as if its menu entry was chosen.
const std::vector<Accelerator>& accelerators();

// The Edit menu's entries named after the step they would take: "&Undo Drag
// Point\tCtrl+Z", or "&Undo\tCtrl+Z" when there is none (and the entry is
// disabled); the same for Redo with Ctrl+Y.
std::string undoEntryText(std::string_view stepName);
std::string redoEntryText(std::string_view stepName);

}  // namespace tavo
