#pragma once
// Draws the live hit counts over the table graph: each hit point's cell
// tinted the log window's hit colour, deeper the more rows counted for it.
// The tint multiplies, so the curve and its points stay as dark as drawn.

#include <vector>

#include "live/LiveHits.h"

class QPainter;

namespace tavo {

void paintLiveHits(QPainter& painter, const std::vector<LiveHitShade>& shades);

}  // namespace tavo
