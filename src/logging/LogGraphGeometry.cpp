#include "logging/LogGraphGeometry.h"

namespace tavo {

namespace {

constexpr int kLastColumn = kLogGraphWidth - 1;  // 383
constexpr int kDotColumn = kLastColumn - 1;      // 382
constexpr int kMiddleY = 128;

LogGraphLine line(LogGraphPen pen, int x0, int y0, int x1, int y1, int trace = 0)
{
    return LogGraphLine{pen, trace, x0, y0, x1, y1};
}

LogGraphLine dot(LogGraphPen pen, int y)
{
    return line(pen, kDotColumn, y, kLastColumn, y);
}

}  // namespace

int logGraphY(int value)
{
    return 256 - value;
}

int nextGridPhase(int phase)
{
    const int next = phase - 1;
    return next < 0 ? kGridPhases - 1 : next;
}

LogGraphLines fullGridLines(int phase)
{
    LogGraphLines lines;
    for (int x = phase; x < kLastColumn; x += 16)
        lines.add(line(LogGraphPen::DimGrid, x, 0, x, 255));
    for (int y = 16; y <= 240; y += 16)
        lines.add(line(LogGraphPen::DimGrid, 0, y, kLogGraphWidth, y));
    lines.add(line(LogGraphPen::BrightGrid, 0, kMiddleY, kLogGraphWidth, kMiddleY));
    return lines;
}

LogGraphLines columnGridLines(int phase, bool gap)
{
    LogGraphLines lines;
    const LogGraphPen column = gap ? LogGraphPen::Gap : phase == 0 ? LogGraphPen::DimGrid : LogGraphPen::Black;
    lines.add(line(column, kLastColumn, 0, kLastColumn, 257));
    if (phase % 4 != 0)
        for (int y = 16; y <= 240; y += 32)
            lines.add(dot(LogGraphPen::DimGrid, y));
    for (const int y : {32, 96, 160, 224})
        lines.add(dot(LogGraphPen::DimGrid, y));
    lines.add(dot(LogGraphPen::BrightGrid, kMiddleY));
    if (phase < 4 || phase > 11)
        for (const int y : {64, 128, 192})
            lines.add(dot(LogGraphPen::BrightGrid, y));
    return lines;
}

LogGraphLines traceLines(const SampleRow& previous, const SampleRow& current, std::uint32_t mask,
                         std::int32_t customLocation)
{
    LogGraphLines lines;
    auto trace = [&](int slot) {
        const auto s = static_cast<std::size_t>(slot);
        lines.add(line(LogGraphPen::Trace, kDotColumn, logGraphY(previous[s]), kLastColumn, logGraphY(current[s]),
                       slot));
    };
    for (int n = 0; n < kChannelCount; ++n)
        if (maskBit(mask, n))
            trace(n);
    if ((mask & kCustomBit) && customLocation >= kFirstDrawnCustom && customLocation <= 0xFF)
        trace(kCustomSlot);
    return lines;
}

}  // namespace tavo
