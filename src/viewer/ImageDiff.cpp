#include "viewer/ImageDiff.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "viewer/ValueView.h"

namespace tavo {

namespace {

AddressRange rowBytes(TableType type, int offset, int row)
{
    if (type == TableType::FiveByte) {
        const long first = fiveByteRowAddress(offset, row);
        return {first, first + 4};
    }
    const long first = normalRowAddress(offset, row);
    return {first, first + 3};
}

bool differs(const RomImage& a, const ImageBuffer& b, AddressRange range)
{
    for (long at = range.first; at <= range.last; ++at)
        if (a.image[static_cast<std::size_t>(at)] != b[static_cast<std::size_t>(at)])
            return true;
    return false;
}

bool samePoint(const TablePoint& a, const TablePoint& b)
{
    return a.x == b.x && a.y == b.y && a.slopeHigh == b.slopeHigh && a.slopeLow == b.slopeLow;
}

void compareRows(const RomImage& a, const ImageBuffer& b, const TableDef& def, AddressRange common,
                 DefinitionDifference& difference)
{
    // The counts as the images hold them: a count byte may promise rows
    // beyond 0xFFFF, and a change of it is a change even then. Only rows
    // inside the space are compared.
    difference.rowsA = rowCountOf(a.image, def);
    difference.rowsB = rowCountOf(b, def);
    const int rows = std::max(rowsInSpace(def.type, def.offset, difference.rowsA),
                              rowsInSpace(def.type, def.offset, difference.rowsB));
    for (int row = 0; row < rows; ++row) {
        // Bytes beyond 0xFFFF are no image's, so a row that runs past the
        // space is held as far as it exists (both read them as 0). A row only
        // partly held by both images is told when a byte both hold differs,
        // as each image reads it.
        AddressRange bytes = rowBytes(def.type, def.offset, row);
        bytes.last = std::min(bytes.last, static_cast<long>(kLastAddress));
        const AddressRange held = intersect(bytes, common);
        if (held.empty() || (held != bytes && !differs(a, b, held)))
            continue;
        RowDifference found{row, std::nullopt, std::nullopt};
        if (row < difference.rowsA)
            found.a = readPoint(a.image, def.type, def.offset, row);
        if (row < difference.rowsB)
            found.b = readPoint(b, def.type, def.offset, row);
        if (found.a && found.b && samePoint(*found.a, *found.b))
            continue;
        difference.rows.push_back(found);
    }
}

std::vector<std::string> chosenNames(const ImageBuffer& image, const TableDef& def)
{
    std::vector<std::string> names;
    const auto buttons = choiceButtons(image, def);
    for (std::size_t k = 0; k < buttons.size(); ++k)
        if (buttons[k].visible && buttons[k].checked)
            names.push_back(def.valueNames[k]);
    return names;
}

void compareValues(const RomImage& a, const ImageBuffer& b, const TableDef& def, DefinitionDifference& difference)
{
    difference.valueA = constantValue(a.image, def);
    difference.valueB = constantValue(b, def);
    if (def.type == TableType::Flags8) {
        for (int bit = 0; bit < 8; ++bit) {
            const bool wasSet = (difference.valueA >> bit & 1U) != 0;
            const bool isSet = (difference.valueB >> bit & 1U) != 0;
            if (!wasSet && isSet)
                difference.bitsSet.push_back(bitName(def, bit));
            if (wasSet && !isSet)
                difference.bitsCleared.push_back(bitName(def, bit));
        }
    } else if (def.type == TableType::Value8) {
        difference.chosenA = chosenNames(a.image, def);
        difference.chosenB = chosenNames(b, def);
    }
}

std::string joined(const std::vector<std::string>& names, const char* none)
{
    if (names.empty())
        return none;
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::string valueChange(const DefinitionDifference& difference)
{
    return "value 0x" + hexLower(difference.valueA) + " -> 0x" + hexLower(difference.valueB) + " (" +
           std::to_string(difference.valueA) + " -> " + std::to_string(difference.valueB) + ")";
}

std::string rowLine(const RowDifference& row)
{
    auto point = [](const TablePoint& p) { return "x " + std::to_string(p.x) + ", y " + std::to_string(p.y); };
    auto slope = [](const TablePoint& p) { return hexLower(p.slopeHigh * 256U + p.slopeLow, 4, '0'); };
    const std::string head = "row " + std::to_string(row.row) + ": ";
    if (!row.b)
        return head + point(*row.a) + " only in A";
    if (!row.a)
        return head + point(*row.b) + " only in B";
    if (row.slopeOnly())
        return head + "slope " + slope(*row.a) + " -> " + slope(*row.b);
    auto part = [](const char* name, int a, int b) {
        return std::string(name) + " " + std::to_string(a) + (a == b ? "" : " -> " + std::to_string(b));
    };
    return head + part("x", row.a->x, row.b->x) + ", " + part("y", row.a->y, row.b->y);
}

}  // namespace

AddressRange imageAddresses(long offset, long size)
{
    const long first = std::max(offset, 0L);
    const long last = std::min(offset + size - 1, static_cast<long>(kLastAddress));
    return {first, last};
}

AddressRange intersect(AddressRange a, AddressRange b)
{
    return {std::max(a.first, b.first), std::min(a.last, b.last)};
}

AddressRange definitionBytes(const ImageBuffer& image, const TableDef& def)
{
    if (def.offset < 0 || def.offset > kLastAddress)
        return {};
    long last = def.offset;
    // Only the rows that fit in the space are read: a row cut off by 0xFFFF
    // is no row, and the x after the last row ends the table only where the
    // space did not end it first.
    const int rows = rowsInSpace(def.type, def.offset, rowCountOf(image, def));
    switch (def.type) {
    case TableType::Normal:
    case TableType::Signed:
        last = normalRowAddress(def.offset, rows) - 1;
        break;
    case TableType::FiveByte: {
        const int fit = rowsInSpace(def.type, def.offset, std::numeric_limits<int>::max());
        last = fiveByteRowAddress(def.offset, rows) - (rows < fit ? 0 : 1);
        break;
    }
    case TableType::Const16:
        last = def.offset + 1L;
        break;
    default:
        break;
    }
    return {def.offset, std::min(last, static_cast<long>(kLastAddress))};
}

bool RowDifference::slopeOnly() const
{
    return a && b && a->x == b->x && a->y == b->y;
}

ImageDifference compareImages(const RomImage& a, const ImageBuffer& b, AddressRange common, long sizeA, long sizeB)
{
    ImageDifference result;
    result.sizeA = sizeA;
    result.sizeB = sizeB;
    std::vector<bool> defined(kAddressSpace, false);
    const int entries = std::clamp(a.entryCount, 0, kTableCapacity);
    for (int i = 0; i < entries; ++i) {
        const TableDef& def = a.tables[static_cast<std::size_t>(i)];
        // The bytes read in either image: a count byte may differ.
        const AddressRange inA = definitionBytes(a.image, def);
        const AddressRange inB = definitionBytes(b, def);
        if (inA.empty())
            continue;
        const AddressRange read{inA.first, std::max(inA.last, inB.last)};
        std::fill(defined.begin() + read.first, defined.begin() + read.last + 1, true);
        const AddressRange compared = intersect(read, common);
        if (compared.empty() || !differs(a, b, compared))
            continue;
        DefinitionDifference difference;
        difference.index = i;
        if (isGraphType(def.type))
            compareRows(a, b, def, common, difference);
        else
            compareValues(a, b, def, difference);
        result.definitions.push_back(std::move(difference));
    }
    for (long at = common.first; at <= common.last; ++at) {
        const auto k = static_cast<std::size_t>(at);
        if (a.image[k] == b[k])
            continue;
        ++result.bytesChanged;
        if (defined[k])
            continue;
        if (!result.outside.empty() && result.outside.back().last == at - 1)
            result.outside.back().last = at;
        else
            result.outside.push_back({at, at});
    }
    return result;
}

ImageDifference compareWithComparison(const RomImage& working, const RomImage& comparison)
{
    const AddressRange common = intersect(imageAddresses(working.loadOffset, working.imageSize),
                                          imageAddresses(comparison.loadOffset, comparison.imageSize));
    return compareImages(working, comparison.image, common, working.imageSize, comparison.imageSize);
}

std::string bitName(const TableDef& def, int bit)
{
    const std::string& name = def.bitNames[static_cast<std::size_t>(bit)];
    if (name.empty() || name == kUnusedBitName)
        return "bit " + std::to_string(bit);
    return name;
}

std::vector<std::string> changeLines(const TableDef& def, const DefinitionDifference& difference)
{
    std::vector<std::string> lines;
    if (isGraphType(def.type)) {
        if (difference.rowsA != difference.rowsB)
            lines.push_back("rows " + std::to_string(difference.rowsA) + " -> " + std::to_string(difference.rowsB));
        for (const RowDifference& row : difference.rows)
            lines.push_back(rowLine(row));
        return lines;
    }
    std::string line = valueChange(difference);
    if (def.type == TableType::Flags8) {
        if (!difference.bitsSet.empty())
            line += ", set: " + joined(difference.bitsSet, "");
        if (!difference.bitsCleared.empty())
            line += ", cleared: " + joined(difference.bitsCleared, "");
    } else if (def.type == TableType::Value8) {
        line += ", chosen: " + joined(difference.chosenA, "none") + " -> " + joined(difference.chosenB, "none");
    }
    lines.push_back(line);
    return lines;
}

std::string changeSummary(const TableDef& def, const DefinitionDifference& difference)
{
    // Counted rather than made: a long table may differ in thousands of rows.
    const std::size_t lines =
        isGraphType(def.type) ? difference.rows.size() + (difference.rowsA != difference.rowsB ? 1 : 0) : 1;
    if (lines == 1)
        return changeLines(def, difference).front();
    return std::to_string(difference.rows.size()) + (difference.rows.size() == 1 ? " row differs" : " rows differ");
}

std::string differenceHeadline(const ImageDifference& difference)
{
    if (difference.same())
        return "Same size, same bytes.";
    auto count = [](long n, const char* one, const char* many) { return std::to_string(n) + (n == 1 ? one : many); };
    long outside = 0;
    for (const AddressRange& range : difference.outside)
        outside += range.last - range.first + 1;
    std::string text = count(static_cast<long>(difference.definitions.size()), " definition and ", " definitions and ") +
                       count(difference.bytesChanged, " byte differ", " bytes differ");
    if (outside > 0)
        text += "; " + count(outside, " byte", " bytes") + " outside every definition";
    if (difference.sizeA != difference.sizeB)
        text += "; sizes " + std::to_string(difference.sizeA) + " and " + std::to_string(difference.sizeB);
    return text + ".";
}

}  // namespace tavo
