#pragma once
// The nine pens of the log graph, made once at start-up: channels 1 to 8,
// then the custom address.

#include <QPen>
#include <array>

namespace tavo {

using TracePens = std::array<QPen, 9>;

TracePens makeTracePens();

}  // namespace tavo
