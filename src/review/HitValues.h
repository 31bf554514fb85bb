#pragma once
// What the engine did at each table point: over the rows that counted for a
// point by the hit rule (HitCounts) on the x axis's channel, the rows, mean,
// least and greatest of a second channel, in raw bytes or through that
// channel's scale.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "review/ChannelScales.h"

namespace tavo {

struct PointValues {
    int rows = 0;
    // Nothing for a point without rows.
    std::optional<double> mean;
    std::optional<int> min;
    std::optional<int> max;
};

// One entry per point of `xs`, in table order. Row k counts for the point
// that xValues[k] hits and adds values[k]; rows outside the table's x range
// count for none. Both channels come from one run (rows past the shorter
// one are left out).
std::vector<PointValues> pointValues(const std::vector<int>& xs, const std::vector<std::uint8_t>& xValues,
                                     const std::vector<std::uint8_t>& values);

// The mean rounded to three decimals, as tavo-cli prints it.
double roundedMean(double mean);

// The mean, least and greatest in the channel's units; nothing without
// rows. The mean scales as each row does; with a negative factor the least
// raw byte gives the greatest value.
struct ScaledPointValues {
    double mean = 0;
    double min = 0;
    double max = 0;
};
std::optional<ScaledPointValues> scaledPointValues(const PointValues& values, const ChannelScale& scale);

// The mean, least and greatest as the Hit Counts tab lists them, with at
// most three decimals: through the scale when there is one (the unit goes
// in the heading), else raw; "-" each for a point without rows.
std::array<std::string, 3> pointValueTexts(const PointValues& values, const std::optional<ChannelScale>& scale);

}  // namespace tavo
