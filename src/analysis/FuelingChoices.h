#pragma once
// The choices of the "Fueling" dialog (resource 182): engine, injector, MAP
// sensor, maximum engine speed and which fuel table the graph shows. Nothing
// reads the first four yet; they are filled and preset as the calibrator
// expects to see them.

#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct FuelTables;

inline constexpr int kFuelingDialogId = 182;
inline constexpr int kFuelSummaryId = 1299;
inline constexpr int kMapSensorListId = 1300;
inline constexpr int kInjectorListId = 1301;
inline constexpr int kMaxRpmListId = 1302;
inline constexpr int kEngineListId = 1303;
inline constexpr int kGraphTableListId = 1304;

struct FuelingChoice {
    int controlId = 0;
    std::string label;               // the label beside the list; empty for none
    std::vector<std::string> items;  // in the order the sorted list shows them
    int preset = 0;                  // the item selected on opening, an index into items
    bool editable = false;           // a drop-down combo box rather than a drop-down list
};

// The five lists in the order the dialog fills them: engine, MAP sensor,
// injectors, maximum engine speed, graphed table.
const std::vector<FuelingChoice>& fuelingChoices();

// Sorted lists order their items as the system's sorted combo boxes do: by
// text, without regard to case (lessIgnoringCase), equal ones as added.
std::vector<std::string> sortedLikeComboBox(std::vector<std::string> items);

// The entry of the table that item `item` of the graph list shows: "1 Full"
// the full-throttle table (WOTTBL), "2 Part" the part-throttle table
// (MAPTBL), "3 Idle" the idle table (MAPIDL); -1 for no item.
int graphEntryForItem(const FuelTables& tables, int item);

}  // namespace tavo
