#include "viewer/GraphReadouts.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "tables/TableCells.h"
#include "viewer/GraphMapping.h"
#include "viewer/QuickViewerState.h"

namespace tavo {

namespace {

constexpr int kNoDistance = 255;

float parsedOrZero(const std::string& text)
{
    return parseFloatPrefix(text).value_or(0.0F);
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
    const GraphMapping mapping(def.type);
    const int gx = mx - kGraphLeft;
    const int cursorRow = my - kGraphTop;
    const int rows = rowsInSpace(def.type, def.offset, def.count);
    int best = kNoDistance;
    int found = -1;
    for (int i = 0; i < rows; ++i) {
        const TablePoint point = readPoint(image, def.type, def.offset, i);
        const double dx = std::abs(gx - point.x);
        const double dy = std::abs(cursorRow - mapping.row(static_cast<float>(mapping.pickHeight(point))));
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
    // The cursor's height on the field's 256 rows, for every kind of table.
    const int cursorHeight = 256 - (my - kGraphTop);
    state.outValue = state.yMinValue + ySpan * (1.0F / 256.0F) * static_cast<float>(cursorHeight);

    if (state.dragIndex == -1) {
        if (const int near = pointNearCursor(rom.image, *def, mx, my); near >= 0) {
            const TablePoint point = readPoint(rom.image, def->type, def->offset, near);
            state.inValue = state.xMinValue + xSpan / 256.0F * static_cast<float>(point.x);
            switch (def->type) {
            case TableType::FiveByte:
                state.outValue = (state.yMinValue + ySpan / 256.0F * static_cast<float>(point.y)) / 48.0F;
                break;
            case TableType::Signed:
                state.outValue = static_cast<float>(GraphMapping(def->type).pickHeight(point)) * ySpan / 256.0F;
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
