#pragma once
// Two calibrations compared through the definitions of the first: which
// definitions' bytes differ and how (rows of a table, a constant's value, the
// bits set and cleared, the choice made), which differing bytes lie outside
// every definition, and how many bytes differ in all. Only the addresses both
// images hold are compared. tavo-cli diff and the Quick Viewer's
// "Differences..." list both show it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tables/TableCells.h"
#include "tables/TableDef.h"

namespace tavo {

struct RomImage;

// Absolute addresses first to last; empty when last < first.
struct AddressRange {
    long first = 0;
    long last = -1;
    bool empty() const { return last < first; }
    bool contains(long address) const { return address >= first && address <= last; }
    bool operator==(const AddressRange&) const = default;
};

// The addresses an image of `size` bytes at `offset` holds, within the 64 KiB.
AddressRange imageAddresses(long offset, long size);
AddressRange intersect(AddressRange a, AddressRange b);

// The bytes the program reads for a definition in an image: a table's count
// byte and the rows that fit in the space (a FiveByte table's rows and the x
// of its end row), a constant's one or two bytes, the byte of a bit field or
// choice.
AddressRange definitionBytes(const ImageBuffer& image, const TableDef& def);

struct RowDifference {
    int row = 0;
    std::optional<TablePoint> a;  // nothing: the table has no such row there
    std::optional<TablePoint> b;
    // Both rows are there with the same x and y: only their slope bytes differ.
    bool slopeOnly() const;
};

struct DefinitionDifference {
    int index = 0;  // in the first image's array
    // Tables: the row counts and every row whose bytes differ.
    int rowsA = 0;
    int rowsB = 0;
    std::vector<RowDifference> rows;
    // The other kinds: the value (a Const16's two bytes, high first).
    std::uint32_t valueA = 0;
    std::uint32_t valueB = 0;
    std::vector<std::string> bitsSet;      // Flags8: names of the bits clear in A, set in B
    std::vector<std::string> bitsCleared;  // Flags8: set in A, clear in B
    std::vector<std::string> chosenA;      // Value8: the choices whose value A holds
    std::vector<std::string> chosenB;
};

struct ImageDifference {
    std::vector<DefinitionDifference> definitions;
    std::vector<AddressRange> outside;  // differing bytes outside every definition
    long bytesChanged = 0;               // every differing byte of the common addresses
    long sizeA = 0;
    long sizeB = 0;
    // Same size, same bytes.
    bool same() const { return sizeA == sizeB && bytesChanged == 0; }
};

// Compares image A (its bytes and definitions) with the bytes `b` over the
// addresses `common`; the sizes are only reported.
ImageDifference compareImages(const RomImage& a, const ImageBuffer& b, AddressRange common, long sizeA, long sizeB);

// The working image against the comparison image, each at its own load offset.
ImageDifference compareWithComparison(const RomImage& working, const RomImage& comparison);

// The name a bit is shown by: its own, or "bit N" for a bit named "Not Used"
// or not named at all.
std::string bitName(const TableDef& def, int bit);

// What changed in a definition, one readable line per change: "row 3: x 48,
// y 92 -> 97", "value 0x12 -> 0x34 (18 -> 52)", "value 0x81 -> 0x83, set: EGR".
std::vector<std::string> changeLines(const TableDef& def, const DefinitionDifference& difference);

// The changes of a definition in a few words: its one change line, or for a
// table with more, "N rows differ".
std::string changeSummary(const TableDef& def, const DefinitionDifference& difference);

// "3 definitions and 23 bytes differ; 2 bytes outside every definition.", or
// "Same size, same bytes." when nothing differs.
std::string differenceHeadline(const ImageDifference& difference);

}  // namespace tavo
