#pragma once
// The hit-count picture: a table's Quick Viewer graph, enlarged, with each
// point's cell shaded by how often the log fell on it, a bar at the point
// and the count written under it; the rows, below and above at the foot.

#include <QImage>

#include "review/HitCounts.h"

namespace tavo {

struct RomImage;

inline constexpr int kHitPictureScale = 2;

QImage hitCountPicture(const RomImage& rom, int index, const HitCounts& counts, int scale = kHitPictureScale);

}  // namespace tavo
