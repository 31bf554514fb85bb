#pragma once
// The Quick Viewer's state, kept for the whole run and shared by the list,
// the graph and the in-place editing.

#include <cstdint>

namespace tavo {

struct RomImage;

struct DialogPoint {
    int x = 0;
    int y = 0;  // -1: the cursor's y
    bool operator==(const DialogPoint&) const = default;
};

struct QuickViewerState {
    int current = -1;          // index of the selected entry, -1 for none
    bool graphMode = true;     // graph controls shown (Normal, FiveByte, Signed)
    bool dragging = false;
    int dragIndex = -1;        // point being dragged, -1 for none
    float xMinValue = 0.0F;
    float xMaxValue = 0.0F;
    float yMinValue = 0.0F;
    float yMaxValue = 0.0F;
    float inValue = 0.0F;
    float outValue = 0.0F;
    DialogPoint leftAnchor;
    DialogPoint rightAnchor;
};

// `current` when it names an entry in use of the image, else -1.
int currentEntryIndex(const QuickViewerState& state, const RomImage& rom);

}  // namespace tavo
