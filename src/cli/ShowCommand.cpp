#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "tables/TableCells.h"
#include "viewer/ValueView.h"

namespace tavo {

namespace {

struct ShownRow {
    TablePoint point;
    bool slopeShown = true;  // the last row of a Normal or Signed table has no slope of its own
};

// What `show` says about an entry, decoded as the Quick Viewer shows it.
struct EntryFacts {
    const TableDef& def;
    std::vector<ShownRow> rows;      // the table kinds
    std::uint32_t value = 0;         // the other kinds
    std::vector<std::string> names;  // Flags8: the shown bits that are set; Value8: the checked choices
};

EntryFacts gatherFacts(const RomImage& rom, const TableDef& def)
{
    EntryFacts facts{def, {}, 0, {}};
    if (isGraphType(def.type)) {
        const int count = rowsInSpace(def.type, def.offset, def.count);
        for (int i = 0; i < count; ++i)
            facts.rows.push_back({readPoint(rom.image, def.type, def.offset, i),
                                  def.type == TableType::FiveByte || i + 1 < def.count});
        return facts;
    }
    facts.value = constantValue(rom.image, def);
    if (def.type == TableType::Flags8 || def.type == TableType::Value8) {
        const auto controls = def.type == TableType::Flags8 ? flagBoxes(rom.image, def) : choiceButtons(rom.image, def);
        const auto& names = def.type == TableType::Flags8 ? def.bitNames : def.valueNames;
        for (std::size_t k = 0; k < controls.size(); ++k)
            if (controls[k].visible && controls[k].checked)
                facts.names.push_back(names[k]);
    }
    return facts;
}

void renderText(std::ostream& out, const EntryFacts& facts)
{
    const TableDef& def = facts.def;
    out << terminalText(def.name) << " (" << terminalText(def.chryslerName) << ") at " << hexLower(static_cast<std::uint32_t>(def.offset), 4, '0')
        << ", " << tableTypeName(def.type) << '\n';
    if (isGraphType(def.type)) {
        out << "row\tx\ty\tslope\n";
        for (std::size_t i = 0; i < facts.rows.size(); ++i) {
            const ShownRow& row = facts.rows[i];
            out << i << '\t' << row.point.x << '\t' << row.point.y << '\t';
            if (row.slopeShown)
                out << hexLower(row.point.slopeHigh * 256U + row.point.slopeLow, 4, '0') << " ("
                    << formatFixed(decodeSlope(row.point.slopeHigh, row.point.slopeLow), 4) << ")";
            out << '\n';
        }
        return;
    }
    out << "value: " << facts.value << " (0x" << hexLower(facts.value) << ")\n";
    for (const auto& name : facts.names)
        out << (def.type == TableType::Flags8 ? "set: " : "chosen: ") << terminalText(name) << '\n';
}

std::string renderJson(const EntryFacts& facts)
{
    const TableDef& def = facts.def;
    JsonWriter json;
    json.beginObject()
        .key("index").value(def.index)
        .key("name").value(def.name)
        .key("chryslerName").value(def.chryslerName)
        .key("offset").value(def.offset)
        .key("type").value(static_cast<int>(def.type))
        .key("typeName").value(tableTypeName(def.type))
        .key("count").value(def.count);
    if (isGraphType(def.type)) {
        json.key("rows").beginArray();
        for (const ShownRow& row : facts.rows) {
            json.beginObject()
                .key("x").value(row.point.x)
                .key("y").value(row.point.y)
                .key("slopeRaw").value(row.point.slopeHigh * 256 + row.point.slopeLow)
                .key("slope");
            if (row.slopeShown)
                json.value(static_cast<double>(decodeSlope(row.point.slopeHigh, row.point.slopeLow)));
            else
                json.null();
            json.endObject();
        }
        json.endArray();
    } else {
        json.key("value").value(facts.value);
        if (def.type == TableType::Flags8 || def.type == TableType::Value8) {
            json.key(def.type == TableType::Flags8 ? "bitsSet" : "chosen").beginArray();
            for (const auto& name : facts.names)
                json.value(name);
            json.endArray();
        }
    }
    json.endObject();
    return json.text();
}

}  // namespace

// tavo-cli show ROM KEY [--json]: one entry's rows, or its value with the
// bits set or the choices it holds, decoded as the Quick Viewer shows them.
int cmdShow(const Arguments& args, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<RomImage> rom;
    const TableDef* def = loadEntry(rom, args, err);
    if (!def)
        return 1;
    const EntryFacts facts = gatherFacts(*rom, *def);
    if (args.json())
        out << renderJson(facts) << '\n';
    else
        renderText(out, facts);
    return 0;
}

}  // namespace tavo
