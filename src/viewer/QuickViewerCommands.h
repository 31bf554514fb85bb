#pragma once
// What the Quick Viewer's buttons, fields and graph do to the working image
// and its definitions, without a window: each command edits, stores the
// definitions where they changed, records one step of the history under the
// action's name, and says what the view is to show afterwards. The nested
// dialogs (Table Information, Table Editor, Scale Table) come in as
// functions, so tests script them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

class EditHistory;
struct QuickViewerState;
struct RomImage;
struct TableDef;
class UserPrompts;

// A nested dialog run on the entry shown.
using EntryDialog = std::function<void(TableDef&)>;

// A step taken back or done again, and what the view shows of it.
struct StepShown {
    // The definitions changed: the list is built again (which may find none).
    bool relist = false;
    // The tables to select, the first one listed wins: the one the step
    // changed, then the one shown before; neither: the entry shown again.
    std::vector<std::string> select;
};

class QuickViewerCommands {
public:
    // `history`: where every edit is recorded as a step; none: not recorded.
    QuickViewerCommands(RomImage& rom, QuickViewerState& state, UserPrompts& prompts, EditHistory* history);

    RomImage& rom() const { return rom_; }
    QuickViewerState& state() const { return state_; }
    // The entry shown, or null.
    TableDef* current() const;

    // Opening: the definitions sorted by name, taken into the history
    // without a step (the viewer's own reordering is no edit).
    void open();
    // The list is to be built again: false, the user told "No Table Data to
    // View", when no definition is left; otherwise a drag is over and the
    // graph view is back.
    bool relist();
    // Entry `index` is shown. Keystrokes into the value field join one step
    // until another table is shown or a step is taken back.
    void show(int index);

    // A click on column `column`'s header sorts the definitions by it (no
    // step); the name of the table to select in the new list.
    std::string sortBy(int column);

    // Properties: the dialog on the entry shown; whatever its answer, the
    // definitions are stored and the step "Change Definition" recorded. The
    // name to select in the new list; nothing without an entry.
    std::optional<std::string> changeDefinition(const EntryDialog& dialog);
    // Add: a new "new" table, bound, shown to the dialog, stored; the step
    // "Add Definition". Nothing when every slot is in use (the user is told).
    std::optional<std::string> addDefinition(const EntryDialog& dialog);
    // Delete: asks first; the definitions are stored either way, and the
    // step "Delete Definition" (undone, the table comes back and is shown).
    void deleteDefinition();

    // Tabular... and Scale...: only on a table in the graph view; the steps
    // "Table Editor" and "Scale Table". True when the graph is to be drawn
    // again from what the image now holds.
    bool editTable(const EntryDialog& editor);
    bool scaleTable(const EntryDialog& scaler);

    // The value field's text, written at each keystroke: "Edit Constant".
    void typeConstant(std::string_view text);
    // A choice clicked: "Change Choice". True when the choices are to be
    // shown again (two choices may share a value).
    bool chooseChoice(int choice);
    // A bit's box clicked: "Change Bit".
    void setFlag(int bit, bool set);
    // The release of a dragged point at dialog client (mx, my): "Drag
    // Point". True when a drag ended (the graph is to be drawn again).
    bool dropPoint(int mx, int my);

    // Ctrl+Z (forward false) and Ctrl+Y; nothing when there is no step.
    std::optional<StepShown> takeStep(bool forward);

private:
    void record(std::string_view name, std::uint64_t mergeKey = 0);
    void absorbOrder();
    // Runs `dialog` on a table in the graph view and records `step`.
    bool onGraphTable(const EntryDialog& dialog, std::string_view step);

    RomImage& rom_;
    QuickViewerState& state_;
    UserPrompts& prompts_;
    EditHistory* history_;
    std::uint64_t typingSession_ = 1;
};

}  // namespace tavo
