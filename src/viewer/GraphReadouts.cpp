#include "viewer/GraphReadouts.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "tables/TableCells.h"
#include "viewer/GraphGeometry.h"
#include "viewer/QuickViewerState.h"

namespace tavo {

namespace {

constexpr int kNoDistance = 255;

float parsedOrZero(const std::string& text)
{
    return parseFloatPrefix(text).value_or(0.0F);
}

// The raw height the snap compares with: y, Y / 48, or the signed y with
// the byte 0x80 read as +128.
int snapHeight(TableType type, const TablePoint& point)
{
    if (type == TableType::FiveByte)
        return point.y / 48;
    if (type == TableType::Signed) {
        const int raw = point.y & 0xFF;
        return raw > 128 ? raw - 256 : raw;
    }
    return point.y;
}

int cursorHeight(TableType type, int my)
{
    return (type == TableType::Signed ? kGraphSignedBaseRow : kGraphBaseRow) - my;
}

}  // namespace

void parseGraphRanges(QuickViewerState& state, const TableDef& def)
{
    state.xMinValue = parsedOrZero(def.axes.xMin);
    state.xMaxValue = parsedOrZero(def.axes.xMax);
    state.yMinValue = parsedOrZero(def.axes.yMin);
    state.yMaxValue = parsedOrZero(def.axes.yMax);
}

bool inGraphField(int mx, int my)
{
    const int gx = mx - kGraphLeft;
    const int gy = my - (kGraphTop + 1);
    return gx >= 0 && gx <= 255 && gy >= 0 && gy <= 255;
}

int pointNearCursor(const ImageBuffer& image, const TableDef& def, int mx, int my)
{
    if (!isGraphType(def.type))
        return -1;
    const int gx = mx - kGraphLeft;
    const int v = cursorHeight(def.type, my);
    const int rows = rowsInSpace(def.type, def.offset, def.count);
    int best = kNoDistance;
    int found = -1;
    for (int i = 0; i < rows; ++i) {
        const TablePoint point = readPoint(image, def.type, def.offset, i);
        const double dx = std::abs(gx - point.x);
        const double dy = std::abs(v - snapHeight(def.type, point));
        const int d = static_cast<int>(static_cast<float>(std::sqrt(dx * dx + dy * dy)));
        if (d <= kSnapDistance && d < best) {
            best = d;
            found = i;
        }
    }
    return found;
}

std::optional<ReadoutTexts> updateReadouts(QuickViewerState& state, const RomImage& rom, int mx, int my)
{
    const int current = currentEntryIndex(state, rom);
    if (current < 0 || !inGraphField(mx, my))
        return std::nullopt;
    const TableDef* def = &rom.tables[static_cast<std::size_t>(current)];
    const int gx = mx - kGraphLeft;
    const float xSpan = state.xMaxValue - state.xMinValue;
    const float ySpan = state.yMaxValue - state.yMinValue;
    state.inValue = state.xMinValue + xSpan * (1.0F / 256.0F) * static_cast<float>(gx);
    state.outValue = state.yMinValue + ySpan * (1.0F / 256.0F) * static_cast<float>(kGraphBaseRow - my);

    if (state.dragIndex == -1) {
        if (const int near = pointNearCursor(rom.image, *def, mx, my); near >= 0) {
            const TablePoint point = readPoint(rom.image, def->type, def->offset, near);
            state.inValue = state.xMinValue + xSpan / 256.0F * static_cast<float>(point.x);
            switch (def->type) {
            case TableType::FiveByte:
                state.outValue = (state.yMinValue + ySpan / 256.0F * static_cast<float>(point.y)) / 48.0F;
                break;
            case TableType::Signed:
                state.outValue = static_cast<float>(snapHeight(def->type, point)) * ySpan / 256.0F;
                break;
            default:
                state.outValue = state.yMinValue + ySpan / 256.0F * static_cast<float>(point.y);
                break;
            }
        }
    }
    return ReadoutTexts{"in: " + formatFixed(state.inValue, 1, 3), "out: " + formatFixed(state.outValue, 2, 3)};
}

}  // namespace tavo
