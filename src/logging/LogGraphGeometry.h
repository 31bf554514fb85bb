#pragma once
// The strip chart of the Data Logging dialog as lines: a 384 x 258 bitmap
// that scrolls left one pixel per tick over a scrolling green grid, with one
// short line per logged channel from the previous row to the current one.
// Each line is a move-and-draw as the old GDI drew it: it covers its start
// pixel and stops before its end pixel. The painter strokes these lines.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "logging/Acquisition.h"

namespace tavo {

inline constexpr int kLogGraphWidth = 384;
inline constexpr int kLogGraphHeight = 258;
// Where the dialog shows the bitmap, in its client coordinates.
inline constexpr int kLogGraphLeft = 148;
inline constexpr int kLogGraphTop = 15;
inline constexpr int kGridPhases = 16;

enum class LogGraphPen {
    Black,       // the stock black pen: blanks column 383
    DimGrid,     // RGB(0, 128, 0)
    BrightGrid,  // RGB(0, 192, 0)
    Trace,       // trace pen 1 to 8 (channels) or 9 (custom address)
    Gap,         // RGB(96, 0, 0): a tick whose row was not stored
};

// What one column of the chart shows.
enum class LogGraphColumn {
    Segment,  // the traces from the row before writePos to writePos
    Restart,  // the first row after a gap: a dot at each value, no line from the row before it
    Gap,      // a tick that stored no row: the column marked, no traces
    Blank,    // a tick with nothing to show yet (the first of a run): no traces
};

struct LogGraphLine {
    LogGraphPen pen = LogGraphPen::Black;
    int trace = 0;  // 0 to 8 for LogGraphPen::Trace: channels 1 to 8, then the custom address
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool operator==(const LogGraphLine&) const = default;
};

// A fixed number of lines without allocating: at most the full grid's.
class LogGraphLines {
public:
    static constexpr std::size_t kCapacity = 48;
    void add(const LogGraphLine& line)
    {
        if (count_ < kCapacity)
            lines_[count_++] = line;
    }
    const LogGraphLine* begin() const { return lines_.data(); }
    const LogGraphLine* end() const { return lines_.data() + count_; }
    std::size_t size() const { return count_; }
    const LogGraphLine& operator[](std::size_t i) const { return lines_[i]; }

private:
    std::array<LogGraphLine, kCapacity> lines_{};
    std::size_t count_ = 0;
};

// A sample value v (0 to 255) lies at y = 256 - v: 0 at y 256, 255 at y 1.
int logGraphY(int value);

// The phase steps from 15 down to 0 and wraps, one step per column.
int nextGridPhase(int phase);

// The full grid of a new bitmap, drawn at `phase` over the black fill: dim
// vertical lines every 16 pixels from x = phase, dim horizontal lines every
// 16 pixels, the bright middle line at y 128.
LogGraphLines fullGridLines(int phase);

// After the scroll: column 383 (dim at phase 0, else black; the gap colour
// for a gap column) and the grid dots at x 382 that this phase draws.
LogGraphLines columnGridLines(int phase, bool gap = false);

// One line per channel logged in `mask`, channel order, from the previous
// row's slot at x 382 to the current row's at x 383; the custom address last,
// when bit 8 is set and `customLocation` lies within 0x3F..0xFF.
LogGraphLines traceLines(const SampleRow& previous, const SampleRow& current, std::uint32_t mask,
                         std::int32_t customLocation);

// The columns that redraw the chart from the ring as it stands: at most the
// chart's width, ending with the newest row; each stored row after the gap
// of ticks lost before it (lostBefore), where a row after a gap restarts.
// The first row of a LOG run restarts after one gap column: two runs are
// never joined by a line.
struct ReplayColumn {
    LogGraphColumn kind = LogGraphColumn::Segment;
    int row = 0;  // the ring row it draws (Segment, Restart)
};
// The gap columns drawn before a ring row.
inline int replayGapColumns(const AcquisitionState& state, int row)
{
    const auto slot = static_cast<std::size_t>(row);
    const int lost = std::max<int>(state.lostBefore[slot], state.firstOfRun[slot] ? 1 : 0);
    return std::min<int>(lost, kLogGraphWidth);
}
// Calls column(ReplayColumn) oldest first. `stored` is how many rows the
// ring holds (at most 4096).
template <typename Column>
void forEachReplayColumn(const AcquisitionState& state, int stored, Column&& column)
{
    // Walk back from the newest row until the chart is full.
    int columns = 0;
    int rows = 0;
    const int newest = ringRow(state.writePos);
    while (rows < stored && columns < kLogGraphWidth) {
        const int row = ringRow(static_cast<long long>(newest) - rows);
        columns += 1 + replayGapColumns(state, row);
        ++rows;
    }
    for (int k = rows - 1; k >= 0; --k) {
        const int row = ringRow(static_cast<long long>(newest) - k);
        const int gaps = replayGapColumns(state, row);
        for (int g = 0; g < gaps; ++g)
            column(ReplayColumn{LogGraphColumn::Gap, row});
        column(ReplayColumn{gaps > 0 ? LogGraphColumn::Restart : LogGraphColumn::Segment, row});
    }
}

// The pixels of a line as GDI covers them: one per step along the longer
// axis, from the start pixel up to but not including the end pixel, the
// other coordinate rounded to the nearest pixel (a tie goes toward the end).
// They are handed on as runs along one row or column: run(x, y, width, height).
template <typename Run>
void forEachLineRun(const LogGraphLine& line, Run&& run)
{
    const int dx = line.x1 - line.x0;
    const int dy = line.y1 - line.y0;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    // round(i * d / steps) with halves rounded up, for either sign of d.
    auto along = [steps](int i, int d) {
        const long long twice = 2LL * i * d + steps;
        const long long whole = 2LL * steps;
        return static_cast<int>(twice >= 0 ? twice / whole : -((-twice + whole - 1) / whole));
    };
    // Each step moves one pixel along the longer axis, so a run goes on for
    // as long as the other coordinate stays.
    const bool vertical = std::abs(dy) > std::abs(dx);
    int firstX = 0, firstY = 0, lastX = 0, lastY = 0, length = 0;
    auto flush = [&] {
        if (length > 0)
            run(std::min(firstX, lastX), std::min(firstY, lastY), vertical ? 1 : length, vertical ? length : 1);
    };
    for (int i = 0; i < steps; ++i) {
        const int x = line.x0 + along(i, dx);
        const int y = line.y0 + along(i, dy);
        if (length > 0 && (vertical ? x == lastX : y == lastY)) {
            lastX = x;
            lastY = y;
            ++length;
            continue;
        }
        flush();
        firstX = lastX = x;
        firstY = lastY = y;
        length = 1;
    }
    flush();
}

}  // namespace tavo
