#include "analysis/FuelingChoices.h"

#include <algorithm>

#include "analysis/FuelTables.h"
#include "common/TextFormat.h"

namespace tavo {

namespace {

// The item presets count in the sorted list the control shows.
FuelingChoice makeChoice(int id, std::string label, std::vector<std::string> itemsAsAdded, int preset,
                         bool editable = false)
{
    return {id, std::move(label), sortedLikeComboBox(std::move(itemsAsAdded)), preset, editable};
}

}  // namespace

std::vector<std::string> sortedLikeComboBox(std::vector<std::string> items)
{
    std::stable_sort(items.begin(), items.end(),
                     [](const std::string& a, const std::string& b) { return lessIgnoringCase(a, b); });
    return items;
}

const std::vector<FuelingChoice>& fuelingChoices()
{
    static const std::vector<FuelingChoice> choices = {
        makeChoice(kEngineListId, "Engine:", {"2.2", "2.5"}, 0),
        makeChoice(kMapSensorListId, "MAP:", {"2-bar", "3-bar"}, 1),
        makeChoice(kInjectorListId, "Injectors:",
                   {"27pph T1 4418474/5", "30pph P4452803", "32pph 4306018", "33pph 4504322",
                    "33.25pph 4418213/258", "34pph 5277895", "35pph P4452204", "36pph P4452804",
                    "42pph P4529495", "52pph P5249452"},
                   8),
        makeChoice(kMaxRpmListId, "Max RPM:",
                   {"5600", "5700", "5800", "5900", "6000", "6100", "6200", "6300", "6400", "6500"}, 4),
        makeChoice(kGraphTableListId, "", {"1 Full", "2 Part", "3 Idle"}, 1, true),
    };
    return choices;
}

int graphEntryForItem(const FuelTables& tables, int item)
{
    switch (item) {
    case 0: return tables.fullThrottle;
    case 1: return tables.partThrottle;
    case 2: return tables.idle;
    default: return -1;
    }
}

}  // namespace tavo
