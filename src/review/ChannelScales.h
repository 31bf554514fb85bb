#pragma once
// Scales that turn a channel's raw byte into a value in units: value = raw x
// factor + offset, with a unit text. They are the user's own, kept per
// channel title (the same title in any log shares them); a channel without
// one shows its raw byte only. TaVO invents none.

#include <optional>
#include <string>
#include <string_view>

namespace tavo {

struct ChannelScale {
    double factor = 1;
    double offset = 0;
    std::string unit;  // UTF-8
    bool operator==(const ChannelScale&) const = default;
};

inline constexpr std::size_t kMostUnitCharacters = 32;

// Where the scales are kept (TaVO's settings in the program; memory in tests).
class ChannelScales {
public:
    virtual ~ChannelScales() = default;
    virtual std::optional<ChannelScale> scaleFor(std::string_view title) const = 0;
    // Keeps the scale, or forgets it when nothing is given; false when it
    // could not be kept.
    virtual bool setScale(std::string_view title, const std::optional<ChannelScale>& scale) = 0;
};

double scaledValue(int raw, const ChannelScale& scale);

// The value with at most three decimals, trailing zeros dropped, and the
// unit after a space: "3000 RPM", "12.5 psi", "-4".
std::string scaledText(int raw, const ChannelScale& scale);
std::string valueText(double value, std::string_view unit);

// A number as the scale editor shows it: up to nine significant digits.
std::string scaleNumberText(double number);

// What the scale editor's three fields give: a scale, nothing (all three
// empty: the channel shows its raw byte), or why they cannot be taken.
struct ScaleEntry {
    std::optional<ChannelScale> scale;
    std::string problem;  // empty when the entry can be taken
};
ScaleEntry parseScaleEntry(std::string_view factor, std::string_view offset, std::string_view unit);

}  // namespace tavo
