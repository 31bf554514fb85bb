#pragma once
// The two read-outs under the graph: the cursor's position in the table's
// display units, or a nearby point's own values, and the hit test that
// finds that point (also used to pick a point to drag).

#include <optional>
#include <string>

#include "tables/TableDef.h"

namespace tavo {

struct QuickViewerState;
struct RomImage;

// A point snaps when it lies this close to the cursor, in pixels.
inline constexpr int kSnapDistance = 10;

// Parses the entry's xMin, xMax, yMin and yMax texts as "%f" into the
// state's ranges; a text that holds no number counts as 0.
void parseGraphRanges(QuickViewerState& state, const TableDef& def);

// True when a dialog client position lies over the 256 x 256 field of the
// graph: 400 <= x <= 655 and 6 <= y <= 261.
bool inGraphField(int mx, int my);

// The point of the entry nearest the cursor within kSnapDistance pixels
// (the first of equal distances), or -1.
int pointNearCursor(const ImageBuffer& image, const TableDef& def, int mx, int my);

struct ReadoutTexts {
    std::string in;   // "in: %3.1f"
    std::string out;  // "out: %3.2f"
};

// The read-outs for a cursor at dialog client (mx, my) over the current
// entry of `state`: the cursor's position in display units, or, while no
// point is dragged, the values of the point within kSnapDistance. Stores
// the values shown in inValue and outValue. Nothing outside the field.
std::optional<ReadoutTexts> updateReadouts(QuickViewerState& state, const RomImage& rom, int mx, int my);

}  // namespace tavo
