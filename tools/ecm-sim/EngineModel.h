#pragma once
// A small engine on a short drive: idle, a run through three gears, a
// cruise, a coast down and idle again, every 40 seconds. Its bytes sit at the
// addresses of the default logging channels, so the strip chart and the Live
// RAM display have something to show.

#include "SimOptions.h"

namespace tavo::sim {

// The RAM page at `seconds` since the simulated ECM started.
void fillEnginePage(RamPage& page, double seconds);

}  // namespace tavo::sim
