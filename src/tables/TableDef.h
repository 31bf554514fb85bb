#pragma once
// One calibration item of a ROM image: a lookup table, a constant, a bit
// field or a choice byte, with its axis labels, scales and Chrysler name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavo {

// The module's 64 KiB address space: byte a is the byte at address a.
constexpr std::size_t kAddressSpace = 65536;
constexpr int kLastAddress = 0xFFFF;
using ImageBuffer = std::array<std::uint8_t, kAddressSpace>;

// A RomImage holds at most this many definitions.
constexpr int kTableCapacity = 514;

enum class TableType : std::int32_t {
    Normal = 0,    // count byte, rows of x, y, slope
    FiveByte = 1,  // rows of x, 16-bit Y, slope, ended by x = 0xFF
    Signed = 2,    // as Normal, y two's complement
    Const8 = 3,
    Const16 = 4,
    Flags8 = 5,
    Value8 = 6,
};

constexpr int kTableTypeCount = 7;

bool isGraphType(TableType type);  // Normal, FiveByte, Signed
std::string_view tableTypeName(TableType type);  // "Normal", "FiveByte", ...

// The widths of the definition's text fields, the one table the .tbl reader,
// the writer and the definition dialogs all cut to: a field holds at most
// width - 1 characters.
namespace width {
constexpr std::size_t name = 256;
constexpr std::size_t label = 256;
constexpr std::size_t scale = 16;
constexpr std::size_t units = 128;
constexpr std::size_t chryslerName = 32;
constexpr std::size_t description = 2048;
constexpr std::size_t choiceName = 64;
}  // namespace width

// Marker names of bits and choices that the viewer hides.
constexpr std::string_view kUnusedBitName = "Not Used";
constexpr std::string_view kUnusedChoiceName = "Unused";

// The eight texts of a table's axes: the label, the display values of raw 0
// and raw 256 (decimal numbers kept as text) and the units, of the input (x)
// and of the output (y).
struct AxisText {
    std::string xLabel;
    std::string xMin;
    std::string xMax;
    std::string xUnits;
    std::string yLabel;
    std::string yMin;
    std::string yMax;
    std::string yUnits;
    bool operator==(const AxisText&) const = default;
};

// The axis texts in the order of the definition file, with their names and
// widths, for the code that treats all eight alike.
struct AxisField {
    std::string AxisText::*member;
    std::string_view name;
    std::size_t width;
};
inline constexpr std::array<AxisField, 8> kAxisFields = {{
    {&AxisText::xLabel, "xLabel", width::label},
    {&AxisText::xMin, "xMin", width::scale},
    {&AxisText::xMax, "xMax", width::scale},
    {&AxisText::xUnits, "xUnits", width::units},
    {&AxisText::yLabel, "yLabel", width::label},
    {&AxisText::yMin, "yMin", width::scale},
    {&AxisText::yMax, "yMax", width::scale},
    {&AxisText::yUnits, "yUnits", width::units},
}};

struct TableDef {
    ImageBuffer* image = nullptr;  // the buffer of the RomImage holding this entry
    std::int32_t offset = 0;       // absolute address, 0x0000 to 0xFFFF
    std::int32_t index = 0;        // position in the RomImage's array
    std::int32_t count = 0;        // data rows (Normal, Signed, FiveByte)
    TableType type = TableType::Normal;
    bool moveable = false;         // obsolete; kept for the file format
    std::string name;
    AxisText axes;
    std::string chryslerName;
    std::string description;
    std::array<std::string, 8> bitNames;
    std::array<std::string, 8> valueNames;
    std::array<std::int32_t, 8> values{};
    bool operator==(const TableDef&) const = default;
};

}  // namespace tavo
