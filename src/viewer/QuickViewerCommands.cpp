#include "viewer/QuickViewerCommands.h"

#include <cstddef>

#include "rom/EditHistory.h"
#include "rom/RomImage.h"
#include "tables/TableDef.h"
#include "tables/TableFileWriter.h"
#include "viewer/PointDrag.h"
#include "viewer/QuickViewerState.h"
#include "viewer/TableList.h"
#include "viewer/TableListEditing.h"
#include "viewer/ValueView.h"

namespace tavo {

QuickViewerCommands::QuickViewerCommands(RomImage& rom, QuickViewerState& state, UserPrompts& prompts,
                                         EditHistory* history)
    : rom_(rom), state_(state), prompts_(prompts), history_(history)
{
}

TableDef* QuickViewerCommands::current() const
{
    const int index = currentEntryIndex(state_, rom_);
    return index < 0 ? nullptr : &rom_.tables[static_cast<std::size_t>(index)];
}

void QuickViewerCommands::open()
{
    sortTables(rom_, 0);
    bindTables(rom_);
    absorbOrder();
}

bool QuickViewerCommands::relist()
{
    if (!reportWhenNoTables(rom_, prompts_))
        return false;
    state_.dragIndex = -1;
    state_.dragging = false;
    state_.graphMode = true;
    return true;
}

void QuickViewerCommands::show(int index)
{
    state_.current = index;
    ++typingSession_;
}

std::string QuickViewerCommands::sortBy(int column)
{
    const TableDef* def = current();
    std::string name = def ? def->name : std::string();
    sortTables(rom_, column);
    bindTables(rom_);
    absorbOrder();
    return name;
}

std::optional<std::string> QuickViewerCommands::changeDefinition(const EntryDialog& dialog)
{
    TableDef* def = current();
    if (!def)
        return std::nullopt;
    dialog(*def);
    std::string name = def->name;
    storeTableFile(rom_, prompts_);
    bindTables(rom_);
    record("Change Definition");
    return name;
}

std::optional<std::string> QuickViewerCommands::addDefinition(const EntryDialog& dialog)
{
    const int added = addTable(rom_, prompts_);
    if (added < 0)
        return std::nullopt;
    // Bound before the Table Information dialog sees it, like every other entry.
    bindTables(rom_);
    state_.current = added;
    TableDef& def = rom_.tables[static_cast<std::size_t>(added)];
    dialog(def);
    std::string name = def.name;
    storeTableFile(rom_, prompts_);
    bindTables(rom_);
    record("Add Definition");
    return name;
}

void QuickViewerCommands::deleteDefinition()
{
    const TableDef* def = current();
    const std::string name = def ? def->name : std::string();
    deleteTable(rom_, currentEntryIndex(state_, rom_), prompts_);
    storeTableFile(rom_, prompts_);
    bindTables(rom_);
    if (history_)
        history_->record(rom_, "Delete Definition", name);
}

bool QuickViewerCommands::onGraphTable(const EntryDialog& dialog, std::string_view step)
{
    TableDef* def = current();
    if (!state_.graphMode || !def)
        return false;
    dialog(*def);
    record(step);
    return true;
}

bool QuickViewerCommands::editTable(const EntryDialog& editor)
{
    return onGraphTable(editor, "Table Editor");
}

bool QuickViewerCommands::scaleTable(const EntryDialog& scaler)
{
    return onGraphTable(scaler, "Scale Table");
}

void QuickViewerCommands::typeConstant(std::string_view text)
{
    if (const TableDef* def = current()) {
        writeConstantText(rom_.image, *def, text);
        record("Edit Constant", typingSession_);
    }
}

bool QuickViewerCommands::chooseChoice(int choice)
{
    const TableDef* def = current();
    if (!def || def->type != TableType::Value8)
        return false;
    writeChoice(rom_.image, *def, choice);
    record("Change Choice");
    return true;
}

void QuickViewerCommands::setFlag(int bit, bool set)
{
    const TableDef* def = current();
    if (!def || def->type != TableType::Flags8)
        return;
    writeFlag(rom_.image, *def, bit, set);
    record("Change Bit");
}

bool QuickViewerCommands::dropPoint(int mx, int my)
{
    if (!endPointDrag(state_, rom_, mx, my))
        return false;
    record("Drag Point");
    return true;
}

std::optional<StepShown> QuickViewerCommands::takeStep(bool forward)
{
    if (!history_)
        return std::nullopt;
    const TableDef* shown = current();
    const std::string shownName = shown ? shown->name : std::string();
    const EditStep* step = forward ? history_->redo(rom_) : history_->undo(rom_);
    if (!step)
        return std::nullopt;
    ++typingSession_;
    StepShown view;
    view.relist = step->changesDefinitions();
    if (!view.relist) {
        // A drag in progress is over: its point may have moved.
        state_.dragging = false;
        state_.dragIndex = -1;
    }
    // The table the step changed is shown as it now is.
    const std::string named = focusOf(*step, !forward);
    view.select = {named.empty() ? shownName : named, shownName};
    return view;
}

void QuickViewerCommands::record(std::string_view name, std::uint64_t mergeKey)
{
    if (!history_)
        return;
    const TableDef* def = current();
    history_->record(rom_, name, def ? std::string_view(def->name) : std::string_view(), mergeKey);
}

void QuickViewerCommands::absorbOrder()
{
    if (history_)
        history_->absorb(rom_);
}

}  // namespace tavo
