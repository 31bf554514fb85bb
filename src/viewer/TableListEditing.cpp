#include "viewer/TableListEditing.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "common/UserPrompts.h"
#include "rom/RomImage.h"
#include "tables/GenericEntry.h"

namespace tavo {

bool reportWhenNoTables(const RomImage& rom, UserPrompts& prompts)
{
    if (rom.entryCount > 0)
        return true;
    prompts.showMessage(kNoTableData, kViewerTitle, MessageIcon::Information);
    return false;
}

int addTable(RomImage& rom, UserPrompts& prompts)
{
    const int slot = rom.entryCount;
    if (slot < 0 || slot >= kTableCapacity || slot >= static_cast<int>(rom.tables.size())) {
        prompts.showMessage(kTableListFull, kViewerTitle, MessageIcon::Warning);
        return -1;
    }
    TableDef& def = rom.tables[static_cast<std::size_t>(slot)];
    applyGenericEntry(def, {"new", "X", "Y"});
    def.type = TableType::Normal;
    def.offset = rom.loadOffset;
    ++rom.entryCount;
    return slot;
}

std::string deleteQuestion(const TableDef& def)
{
    return "Are you sure you want to delete: " + def.name + " ?";
}

bool deleteTable(RomImage& rom, int index, UserPrompts& prompts)
{
    const int used = std::min(rom.entryCount, static_cast<int>(rom.tables.size()));
    if (index < 0 || index >= used)
        return false;
    const std::string question = deleteQuestion(rom.tables[static_cast<std::size_t>(index)]);
    if (prompts.ask(question, kViewerTitle, QuestionButtons::YesNo) != Answer::Yes)
        return false;
    for (int i = index; i + 1 < used; ++i)
        rom.tables[static_cast<std::size_t>(i)] = rom.tables[static_cast<std::size_t>(i) + 1];
    --rom.entryCount;
    return true;
}

}  // namespace tavo
