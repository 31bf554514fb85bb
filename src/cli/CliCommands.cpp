#include "cli/CliCommands.h"

#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "cli/CliPrompts.h"
#include "cli/JsonWriter.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "tables/TableCells.h"
#include "tables/TableFileWriter.h"
#include "tables/TableLookup.h"

namespace tavo {

namespace {

constexpr const char* kUsage =
    "usage: tavo-cli COMMAND ...\n"
    "  info ROM [--json]              ROM information of an image and its .tbl\n"
    "  tables ROM [--json]            every table definition, in file order\n"
    "  show ROM KEY [--json]          one entry's values (KEY: Chrysler name or title)\n"
    "  save-tables ROM [--to FILE]    write the definitions back as Save Table Data does\n";

struct UsageError {
    std::string message;
};

// Splits the arguments into positional words and --options (with values for
// the options that take one).
struct Arguments {
    std::vector<std::string> words;
    bool json = false;
    std::optional<std::string> to;

    static Arguments parse(const std::vector<std::string>& args, std::size_t from)
    {
        Arguments parsed;
        for (std::size_t i = from; i < args.size(); ++i) {
            const std::string& arg = args[i];
            if (arg == "--json") {
                parsed.json = true;
            } else if (arg == "--to") {
                if (i + 1 >= args.size())
                    throw UsageError{"--to needs a file name"};
                parsed.to = args[++i];
            } else if (arg.rfind("--", 0) == 0) {
                throw UsageError{"unknown option " + arg};
            } else {
                parsed.words.push_back(arg);
            }
        }
        return parsed;
    }
};

void requireWords(const Arguments& args, std::size_t count)
{
    if (args.words.size() != count)
        throw UsageError{"wrong number of arguments"};
}

// Loads an image with its existing .tbl; nothing when it cannot (the reason on err).
std::unique_ptr<RomImage> loadImage(const std::string& path, std::ostream& err)
{
    if (!fileExists(path)) {
        err << "tavo-cli: no such image file: " << path << '\n';
        return nullptr;
    }
    const std::string tbl = tablePathFor(path);
    if (!fileExists(tbl)) {
        err << "tavo-cli: no table definition file beside the image: " << tbl
            << "\n(TaVO creates one when it first opens the image)\n";
        return nullptr;
    }
    auto rom = std::make_unique<RomImage>();
    CliPrompts prompts;
    const LoadOutcome outcome = loadRomImageFrom(*rom, path, prompts);
    if (outcome != LoadOutcome::Loaded) {
        for (const std::string& message : prompts.messages())
            err << message << (message.empty() || message.back() != '\n' ? "\n" : "");
        return nullptr;
    }
    for (const std::string& message : prompts.messages())
        err << "tavo-cli: " << message << '\n';
    return rom;
}

std::string hex4(int value)
{
    return hexLower(static_cast<std::uint32_t>(value), 4, '0');
}

int cmdInfo(const Arguments& args, std::ostream& out, std::ostream& err)
{
    requireWords(args, 1);
    auto rom = loadImage(args.words[0], err);
    if (!rom)
        return 1;
    if (args.json) {
        JsonWriter json;
        json.beginObject()
            .key("romPath").value(rom->romPath)
            .key("tblPath").value(rom->tblPath)
            .key("loadOffset").value(rom->loadOffset)
            .key("imageSize").value(rom->imageSize)
            .key("entryCount").value(rom->entryCount)
            .key("description").value(rom->description)
            .key("author").value(rom->author)
            .key("injectors").value(static_cast<double>(rom->injectors))
            .key("boost").value(static_cast<double>(rom->boost))
            .key("mapRange").value(rom->mapRange)
            .key("dcalVersion").value(rom->dcalVersion)
            .key("checksumName").value(rom->checksumName)
            .key("checksumA").value(rom->checksumA)
            .key("checksumB").value(rom->checksumB)
            .key("crc32").value(rom->crc32)
            .endObject();
        out << json.text() << '\n';
        return 0;
    }
    const char* map = rom->mapRange == kMap25Bar ? "2.5 bar" : rom->mapRange == kMap3Bar ? "3 bar" : "2 bar";
    out << "romPath:     " << rom->romPath << '\n'
        << "tblPath:     " << rom->tblPath << '\n'
        << "loadOffset:  " << hex4(rom->loadOffset) << '\n'
        << "imageSize:   " << rom->imageSize << '\n'
        << "entryCount:  " << rom->entryCount << '\n'
        << "description: " << rom->description << '\n'
        << "author:      " << rom->author << '\n'
        << "injectors:   " << formatFixed(rom->injectors, 1) << " pph\n"
        << "boost:       " << formatFixed(rom->boost, 1) << " psi\n"
        << "mapRange:    " << rom->mapRange << " (" << map << ")\n";
    if (!rom->dcalVersion.empty())
        out << "dcalVersion: " << rom->dcalVersion << '\n';
    return 0;
}

void writeEntryJson(JsonWriter& json, const TableDef& def)
{
    json.beginObject()
        .key("index").value(def.index)
        .key("name").value(def.name)
        .key("offset").value(def.offset)
        .key("type").value(static_cast<int>(def.type))
        .key("typeName").value(tableTypeName(def.type))
        .key("moveable").value(def.moveable)
        .key("chryslerName").value(def.chryslerName)
        .key("count").value(def.count)
        .key("xLabel").value(def.xLabel)
        .key("xMin").value(def.xMin)
        .key("xMax").value(def.xMax)
        .key("xUnits").value(def.xUnits)
        .key("yLabel").value(def.yLabel)
        .key("yMin").value(def.yMin)
        .key("yMax").value(def.yMax)
        .key("yUnits").value(def.yUnits)
        .key("description").value(def.description);
    if (def.type == TableType::Flags8) {
        json.key("bitNames").beginArray();
        for (const auto& bit : def.bitNames)
            json.value(bit);
        json.endArray();
    } else if (def.type == TableType::Value8) {
        json.key("valueNames").beginArray();
        for (const auto& name : def.valueNames)
            json.value(name);
        json.endArray();
        json.key("values").beginArray();
        for (const auto value : def.values)
            json.value(value);
        json.endArray();
    }
    json.endObject();
}

int cmdTables(const Arguments& args, std::ostream& out, std::ostream& err)
{
    requireWords(args, 1);
    auto rom = loadImage(args.words[0], err);
    if (!rom)
        return 1;
    if (args.json) {
        JsonWriter json;
        json.beginArray();
        for (int i = 0; i < rom->entryCount; ++i)
            writeEntryJson(json, rom->tables[static_cast<std::size_t>(i)]);
        json.endArray();
        out << json.text() << '\n';
        return 0;
    }
    for (int i = 0; i < rom->entryCount; ++i) {
        const TableDef& def = rom->tables[static_cast<std::size_t>(i)];
        out << i << '\t' << hex4(def.offset) << '\t' << tableTypeName(def.type) << '\t'
            << def.chryslerName << '\t' << def.name << '\n';
    }
    return 0;
}

// An entry by Chrysler name (first match, any case), else by title.
int findEntry(const RomImage& rom, const std::string& key)
{
    if (const int index = findTableIndexOrNone(rom, key); index >= 0)
        return index;
    for (int i = 0; i < rom.entryCount; ++i)
        if (rom.tables[static_cast<std::size_t>(i)].name == key)
            return i;
    for (int i = 0; i < rom.entryCount; ++i)
        if (equalsIgnoreCase(rom.tables[static_cast<std::size_t>(i)].name, key))
            return i;
    return -1;
}

struct ShownRow {
    TablePoint point;
    bool slopeShown = true;
};

std::vector<ShownRow> shownRows(const RomImage& rom, const TableDef& def)
{
    std::vector<ShownRow> rows;
    if (!isGraphType(def.type))
        return rows;
    const int count = rowsInSpace(def.type, def.offset, def.count);
    for (int i = 0; i < count; ++i) {
        ShownRow row{readPoint(rom.image, def.type, def.offset, i)};
        // The last row of a Normal or Signed table has no slope of its own.
        row.slopeShown = def.type == TableType::FiveByte || i + 1 < def.count;
        rows.push_back(row);
    }
    return rows;
}

int cmdShow(const Arguments& args, std::ostream& out, std::ostream& err)
{
    requireWords(args, 2);
    auto rom = loadImage(args.words[0], err);
    if (!rom)
        return 1;
    const int index = findEntry(*rom, args.words[1]);
    if (index < 0) {
        err << "tavo-cli: no entry with the Chrysler name or title " << args.words[1] << '\n';
        return 1;
    }
    const TableDef& def = rom->tables[static_cast<std::size_t>(index)];
    const std::uint8_t byte = byteAt(rom->image, def.offset).value_or(0);
    const int value16 = byte * 256 + byteAt(rom->image, def.offset + 1L).value_or(0);

    std::vector<std::string> names;  // bits set, or choices chosen
    if (def.type == TableType::Flags8) {
        for (int bit = 0; bit < 8; ++bit)
            if (byte & (1 << bit))
                names.push_back(def.bitNames[static_cast<std::size_t>(bit)]);
    } else if (def.type == TableType::Value8) {
        for (std::size_t k = 0; k < 8; ++k)
            if (def.valueNames[k] != kUnusedChoiceName && (def.values[k] & 0xFF) == byte &&
                def.values[k] == byte)
                names.push_back(def.valueNames[k]);
    }
    const auto rows = shownRows(*rom, def);

    if (args.json) {
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
            for (const ShownRow& row : rows) {
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
            json.key("value").value(def.type == TableType::Const16 ? value16 : byte);
            if (def.type == TableType::Flags8 || def.type == TableType::Value8) {
                json.key(def.type == TableType::Flags8 ? "bitsSet" : "chosen").beginArray();
                for (const auto& name : names)
                    json.value(name);
                json.endArray();
            }
        }
        json.endObject();
        out << json.text() << '\n';
        return 0;
    }

    out << def.name << " (" << def.chryslerName << ") at " << hex4(def.offset) << ", "
        << tableTypeName(def.type) << '\n';
    if (isGraphType(def.type)) {
        out << "row\tx\ty\tslope\n";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ShownRow& row = rows[i];
            out << i << '\t' << row.point.x << '\t' << row.point.y << '\t';
            if (row.slopeShown)
                out << hexLower(row.point.slopeHigh * 256u + row.point.slopeLow, 4, '0') << " ("
                    << formatFixed(decodeSlope(row.point.slopeHigh, row.point.slopeLow), 4) << ")";
            out << '\n';
        }
        return 0;
    }
    const int value = def.type == TableType::Const16 ? value16 : byte;
    out << "value: " << value << " (0x" << hexLower(static_cast<std::uint32_t>(value)) << ")\n";
    for (const auto& name : names)
        out << (def.type == TableType::Flags8 ? "set: " : "chosen: ") << name << '\n';
    return 0;
}

int cmdSaveTables(const Arguments& args, std::ostream& out, std::ostream& err)
{
    requireWords(args, 1);
    auto rom = loadImage(args.words[0], err);
    if (!rom)
        return 1;
    if (args.to)
        rom->tblPath = *args.to;
    if (!writeTableFile(*rom)) {
        err << "tavo-cli: unable to write the table definition file: " << rom->tblPath << '\n';
        return 1;
    }
    out << "wrote " << rom->entryCount << " entries to " << rom->tblPath << '\n';
    return 0;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? 2 : 0;
    }
    try {
        const std::string& command = args[0];
        const Arguments parsed = Arguments::parse(args, 1);
        if (command == "info")
            return cmdInfo(parsed, out, err);
        if (command == "tables")
            return cmdTables(parsed, out, err);
        if (command == "show")
            return cmdShow(parsed, out, err);
        if (command == "save-tables")
            return cmdSaveTables(parsed, out, err);
        throw UsageError{"unknown command " + command};
    } catch (const UsageError& usage) {
        err << "tavo-cli: " << usage.message << '\n' << kUsage;
        return 2;
    }
}

}  // namespace tavo
