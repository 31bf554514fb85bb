#include "viewer/QuickViewerState.h"

#include <algorithm>

#include "rom/RomImage.h"

namespace tavo {

int currentEntryIndex(const QuickViewerState& state, const RomImage& rom)
{
    const int used = std::min(rom.entryCount, static_cast<int>(rom.tables.size()));
    return state.current >= 0 && state.current < used ? state.current : -1;
}

}  // namespace tavo
