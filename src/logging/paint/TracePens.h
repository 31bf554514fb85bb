#pragma once
// The nine pens of the log graph, made once at start-up: channels 1 to 8,
// then the custom address.

#include <QColor>
#include <QPen>
#include <array>

namespace tavo {

using TracePens = std::array<QPen, 9>;

TracePens makeTracePens();

// A solid one-pixel pen of the log graph in that colour.
QPen logGraphPen(const QColor& colour);

}  // namespace tavo
