#pragma once
// Scaling one table's x and y values by two percentages, in place in the
// image bytes, with the slopes recomputed from the new points. Products go
// into bytes saturating at 255 from above only; a FiveByte Y keeps its low
// 16 bits.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tables/ScalePercentages.h"
#include "tables/TableDef.h"

namespace tavo {

// The Scale Table edits read at most this many characters.
constexpr std::size_t kPercentageTextLimit = 127;

// A percentage the scaling accepts: a finite number of 0 or more. A negative
// factor would wrap x values into a falling, meaningless axis.
bool isUsablePercentage(float percent);

// "%f": 100 shows as 100.000000.
std::string percentageText(float percent);

// The "%f" reading of a percentage edit (leading blanks skipped, the number
// at the start taken); nothing when there is no number or it is not usable.
std::optional<float> parsePercentage(std::string_view text);

// The texts confirmed in the dialog become the current percentages; a text
// that gives no usable percentage keeps the previous one.
void takePercentages(ScalePercentages& current, std::string_view xText, std::string_view yText);

// Scales a Normal, FiveByte or Signed table at def.offset in the image and
// recomputes its slopes; true when it did. Other kinds, and percentages that
// are not usable, leave every byte as it is (false). Only bytes inside the
// 64 KiB space are read or written; def.count is not recomputed.
bool scaleTable(ImageBuffer& image, const TableDef& def, float xPercent, float yPercent);
// The same on the image the entry is bound to (false when it has none).
bool scaleTable(TableDef& def, float xPercent, float yPercent);

// The dialog's OK: takes the percentages from the texts, then scales the
// entry's table with them. True when table bytes were rewritten.
bool confirmScale(TableDef& def, ScalePercentages& current, std::string_view xText,
                  std::string_view yText);

// The conversion of a scaled value into a table byte: above 255 it is 255,
// otherwise truncated toward zero with the low 8 bits kept (no lower bound).
std::uint8_t scaledByte(float value);

}  // namespace tavo
