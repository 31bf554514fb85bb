#pragma once
// The rows of a Normal, Signed or FiveByte table as the Table Editor grid
// shows them: raw hexadecimal bytes and the decoded slope.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tables/TableDef.h"

namespace tavo {

struct TabularRow {
    int row = 0;
    std::string compare;  // x, "%02x"
    std::string result;   // y "%02x", or Y "%04x" for FiveByte
    std::string slope;    // "%04x (%3.4f)", or " " for the last Normal/Signed row
};

struct TabularView {
    std::string title;  // the entry's name
    std::string kind;   // "Normal", "Signed", "5-Byte", or empty
    std::vector<TabularRow> rows;
};

// The Table Editor's column headings and widths.
struct TabularColumn {
    std::string_view heading;
    int width;
};
inline constexpr TabularColumn kTabularColumns[] = {{"Compare", 70}, {"Return", 70}, {"Slope", 160}};

// "Normal", "Signed", "5-Byte"; empty for the kinds without rows.
std::string_view tabularKindText(TableType type);

// "%04x (%3.4f)": both slope bytes as one number, then the decoded slope.
std::string slopeText(std::uint8_t high, std::uint8_t low);

// The entry's rows, read from the image it is bound to: `count` rows, as far
// as they lie inside the 64 KiB space; none for other kinds or without image.
TabularView tabularViewOf(const TableDef& def);

}  // namespace tavo
