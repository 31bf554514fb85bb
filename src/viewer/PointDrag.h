#pragma once
// Dragging a point of the graph: the press picks the point and fixes the
// rubber band's ends, the release writes the point and recomputes every
// slope of the table. Positions are dialog client pixels.

#include <array>

#include "viewer/QuickViewerState.h"

namespace tavo {

struct RomImage;

// The press at (mx, my). Starts a drag when it lies on the field within
// kSnapDistance of a point: dragIndex names the point and the anchors are
// set. True when a point is being dragged.
bool beginPointDrag(QuickViewerState& state, const RomImage& rom, int mx, int my);

// The two-segment band from the left anchor through the cursor to the right
// anchor; an anchor y of -1 takes the cursor's y.
std::array<DialogPoint, 3> rubberBand(const QuickViewerState& state, int mx, int my);

// The release at (mx, my). Over the field the dragged point takes the
// cursor's position; anywhere, the table's slopes are recomputed from its
// points. True when a drag ended (the graph is then to be redrawn).
bool endPointDrag(QuickViewerState& state, RomImage& rom, int mx, int my);

}  // namespace tavo
