#pragma once
// Draws the live operating point over the table graph: the trail's dots
// fading with their age, then the marker; an outside value as a hollow
// marker at the table's edge; everything grey once the ECM stopped answering.

#include <optional>
#include <vector>

#include "live/LiveMarker.h"

class QPainter;

namespace tavo {

void paintLiveMarker(QPainter& painter, const std::optional<LiveMark>& mark, const std::vector<TrailDot>& trail,
                     bool stale);

}  // namespace tavo
