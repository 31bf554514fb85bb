// tavo-cli diff A B [--json]: what changed from one calibration to another,
// through A's definitions. B is any image file: its own .tbl file is not
// read, its bytes are taken at A's load offset. The exit status is that of
// diff and cmp: 0 the same, 1 different, 2 trouble.
#include <algorithm>
#include <memory>
#include <ostream>
#include <string>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "viewer/ImageDiff.h"

namespace tavo {

namespace {

constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

void pair(JsonWriter& json, const char* name, int a, int b)
{
    json.key(name).beginArray().value(a).value(b).endArray();
}

void names(JsonWriter& json, const std::vector<std::string>& list)
{
    json.beginArray();
    for (const std::string& name : list)
        json.value(name);
    json.endArray();
}

void writeRow(JsonWriter& json, const RowDifference& row)
{
    json.beginObject().key("row").value(row.row);
    auto side = [&](const std::optional<TablePoint>& point, int TablePoint::*field) {
        if (point)
            json.value((*point).*field);
        else
            json.null();
    };
    for (const auto& [name, field] : {std::pair{"x", &TablePoint::x}, std::pair{"y", &TablePoint::y}}) {
        json.key(name).beginArray();
        side(row.a, field);
        side(row.b, field);
        json.endArray();
    }
    if (row.slopeOnly())
        pair(json, "slopeRaw", row.a->slopeHigh * 256 + row.a->slopeLow, row.b->slopeHigh * 256 + row.b->slopeLow);
    json.endObject();
}

std::string renderJson(const RomImage& a, const ImageDifference& difference)
{
    JsonWriter json;
    json.beginObject().key("definitions").beginArray();
    for (const DefinitionDifference& changed : difference.definitions) {
        const TableDef& def = a.tables[static_cast<std::size_t>(changed.index)];
        json.beginObject()
            .key("index").value(changed.index)
            .key("name").value(def.name)
            .key("chryslerName").value(def.chryslerName)
            .key("typeName").value(tableTypeName(def.type))
            .key("offset").value(def.offset);
        if (isGraphType(def.type)) {
            if (changed.rowsA != changed.rowsB)
                pair(json, "rowCount", changed.rowsA, changed.rowsB);
            json.key("rows").beginArray();
            for (const RowDifference& row : changed.rows)
                writeRow(json, row);
            json.endArray();
        } else {
            json.key("value").beginArray().value(changed.valueA).value(changed.valueB).endArray();
            if (def.type == TableType::Flags8) {
                json.key("bitsSet");
                names(json, changed.bitsSet);
                json.key("bitsCleared");
                names(json, changed.bitsCleared);
            } else if (def.type == TableType::Value8) {
                json.key("chosen").beginArray();
                names(json, changed.chosenA);
                names(json, changed.chosenB);
                json.endArray();
            }
        }
        json.endObject();
    }
    json.endArray().key("outside").beginArray();
    for (const AddressRange& range : difference.outside)
        json.beginArray().value(static_cast<std::int64_t>(range.first)).value(static_cast<std::int64_t>(range.last)).endArray();
    json.endArray()
        .key("definitionsChanged").value(static_cast<std::int64_t>(difference.definitions.size()))
        .key("bytesChanged").value(static_cast<std::int64_t>(difference.bytesChanged))
        .key("sizeA").value(static_cast<std::int64_t>(difference.sizeA))
        .key("sizeB").value(static_cast<std::int64_t>(difference.sizeB))
        .endObject();
    return json.text();
}

void renderText(std::ostream& out, const RomImage& a, const ImageDifference& difference)
{
    auto hex4 = [](long value) { return hexLower(static_cast<std::uint32_t>(value), 4, '0'); };
    for (const DefinitionDifference& changed : difference.definitions) {
        const TableDef& def = a.tables[static_cast<std::size_t>(changed.index)];
        const std::string label = terminalText(def.chryslerName) + " (" + terminalText(def.name) + ") at " +
                                  hex4(def.offset) + ": ";
        for (const std::string& line : changeLines(def, changed))
            out << label << terminalText(line) << '\n';
    }
    for (const AddressRange& range : difference.outside) {
        out << "outside the definitions: " << hex4(range.first);
        if (range.last != range.first)
            out << '-' << hex4(range.last);
        out << " (" << range.last - range.first + 1 << (range.last == range.first ? " byte)\n" : " bytes)\n");
    }
    out << differenceHeadline(difference) << '\n';
}

}  // namespace

int cmdDiff(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const auto a = loadImage(args.words[0], err);
    if (!a)
        return kTrouble;
    const std::string& pathB = args.words[1];
    const FileContent b = readWholeFile(pathB, kAddressSpace);
    if (!b.status) {
        err << "tavo-cli: unable to read " << terminalText(pathB) << ": " << b.status.reason() << '\n';
        return kTrouble;
    }
    // B's bytes at A's load offset, as far as the address space reaches.
    auto bytesB = std::make_unique<ImageBuffer>();
    const AddressRange heldByB = imageAddresses(a->loadOffset, static_cast<long>(b.bytes.size()));
    if (!heldByB.empty())
        std::copy_n(b.bytes.begin(), heldByB.last - heldByB.first + 1, bytesB->begin() + heldByB.first);
    const AddressRange common = intersect(imageAddresses(a->loadOffset, a->imageSize), heldByB);
    const ImageDifference difference =
        compareImages(*a, *bytesB, common, a->imageSize, static_cast<long>(b.bytes.size()));
    if (args.json())
        out << renderJson(*a, difference) << '\n';
    else
        renderText(out, *a, difference);
    return difference.same() ? kSame : kDifferent;
}

}  // namespace tavo
