#pragma once
// Adding and deleting definitions from the Quick Viewer, with the messages
// and the question the user sees.

#include <string>
#include <string_view>

namespace tavo {

struct RomImage;
struct TableDef;
class UserPrompts;

inline constexpr std::string_view kNoTableData = "No Table Data to View";
inline constexpr std::string_view kViewerTitle = "TaVO";
inline constexpr std::string_view kTableListFull =
    "The table list is full: an image holds at most 514 definitions.\n"
    "Delete one before adding another.";

// Tells the user when the image has no definitions; true when it has some.
bool reportWhenNoTables(const RomImage& rom, UserPrompts& prompts);

// Takes the next free slot as a new Normal table named "new" at the image's
// load offset (the slot's other fields keep what they held) and returns its
// index. With every slot in use nothing changes, the user is told, and the
// result is -1.
int addTable(RomImage& rom, UserPrompts& prompts);

// "Are you sure you want to delete: <name> ?"
std::string deleteQuestion(const TableDef& def);

// Asks whether to delete entry `index`; on Yes the following entries move
// one place down and the count drops by one. True when it was removed. An
// index that names no entry asks nothing.
bool deleteTable(RomImage& rom, int index, UserPrompts& prompts);

}  // namespace tavo
