#include "review/HitValues.h"

#include <algorithm>
#include <cmath>

#include "review/HitCounts.h"

namespace tavo {

std::vector<PointValues> pointValues(const std::vector<int>& xs, const std::vector<std::uint8_t>& xValues,
                                     const std::vector<std::uint8_t>& values)
{
    const std::array<int, 256> lookup = hitLookup(xs);
    std::vector<PointValues> points(xs.size());
    std::vector<long long> sums(xs.size(), 0);
    const std::size_t rows = std::min(xValues.size(), values.size());
    for (std::size_t k = 0; k < rows; ++k) {
        const int point = lookup[xValues[k]];
        if (point < 0)
            continue;
        PointValues& at = points[static_cast<std::size_t>(point)];
        const int value = values[k];
        ++at.rows;
        sums[static_cast<std::size_t>(point)] += value;
        at.min = at.min ? std::min(*at.min, value) : value;
        at.max = at.max ? std::max(*at.max, value) : value;
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        if (points[i].rows > 0)
            points[i].mean = static_cast<double>(sums[i]) / points[i].rows;
    return points;
}

double roundedMean(double mean)
{
    return std::round(mean * 1000.0) / 1000.0;
}

std::optional<ScaledPointValues> scaledPointValues(const PointValues& values, const ChannelScale& scale)
{
    if (values.rows == 0 || !values.mean || !values.min || !values.max)
        return std::nullopt;
    const double least = scaledValue(*values.min, scale);
    const double greatest = scaledValue(*values.max, scale);
    return ScaledPointValues{*values.mean * scale.factor + scale.offset, std::min(least, greatest),
                             std::max(least, greatest)};
}

std::array<std::string, 3> pointValueTexts(const PointValues& values, const std::optional<ChannelScale>& scale)
{
    if (values.rows == 0 || !values.mean || !values.min || !values.max)
        return {"-", "-", "-"};
    if (!scale)
        return {valueText(*values.mean, {}), std::to_string(*values.min), std::to_string(*values.max)};
    const ScaledPointValues scaled = *scaledPointValues(values, *scale);
    return {valueText(scaled.mean, {}), valueText(scaled.min, {}), valueText(scaled.max, {})};
}

}  // namespace tavo
