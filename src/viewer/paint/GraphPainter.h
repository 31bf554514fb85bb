#pragma once
// Draws the table graph of one definition into the 258 x 258 off-screen image
// the Quick Viewer and the Fueling dialog copy to the screen.

#include <QImage>

#include "viewer/GraphGeometry.h"

namespace tavo {

struct RomImage;

// Draws entry `index` of `rom` into `bitmap`, creating the 258 x 258 image
// when it is null. `comparison` is the comparison image whose bytes at the
// same address are drawn behind the curve, or null while none is loaded.
void drawTableGraph(QImage& bitmap, const RomImage& rom, int index, const RomImage* comparison);

}  // namespace tavo
