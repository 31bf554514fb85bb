#include "cli/CliCommands.h"

#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "cli/CliPrompts.h"
#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "cli/LogReviewCommands.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "common/Version.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "tables/TableFileWriter.h"
#include "tables/TableLookup.h"

namespace tavo {

namespace {

constexpr const char* kUsage =
    "usage: tavo-cli COMMAND ...\n"
    "  info ROM [--json]                          ROM information of an image and its .tbl\n"
    "  tables ROM [--json]                        every table definition, in file order\n"
    "  show ROM KEY [--json]                      one entry's values (KEY: Chrysler name or title)\n"
    "  save-tables ROM [--to FILE]                write the definitions back as Save Table Data does\n"
    "  graph ROM KEY --png OUT [--compare OTHER]  draw a table's 258 x 258 graph into a PNG file\n"
    "  scale ROM KEY --x PCT --y PCT              scale a table as the Scale Table dialog does, and save\n"
    "  scan ROM [--json] [--write]                add the tables the code addresses; --write stores them\n"
    "  ram --device PATH [--base HEX] [--count N] [--json] [--low-speed N --high-speed N]  read ECM RAM as Live RAM does\n"
    "  log --device PATH (--ticks N | --seconds S) [--period-ms P] [--channels LIST] [--custom HEX] [--smoothing] [--config FILE] [--out FILE] [--json]  log as the Data Logging dialog does\n"
    "  log2csv LOG [--config FILE] [--out FILE]   a log file as CSV (to stdout without --out)\n"
    "  log-graph LOG --png OUT [--ticks N]        the strip chart after replaying the last N rows, as PNG\n"
    "  log-stats LOG [--config FILE] [--json]     rows, min, max, mean and last value of each logged channel\n"
    "  log-hits ROM KEY LOG --channel N [--json]  rows of channel N (1 to 8 or custom) on each point of a table\n"
    "  --help                                     print this help\n"
    "  --version                                  print the version\n";

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
    if (args.json()) {
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
    // Text from the files never reaches the terminal as control characters.
    out << "romPath:     " << terminalText(rom->romPath) << '\n'
        << "tblPath:     " << terminalText(rom->tblPath) << '\n'
        << "loadOffset:  " << hex4(rom->loadOffset) << '\n'
        << "imageSize:   " << rom->imageSize << '\n'
        << "entryCount:  " << rom->entryCount << '\n'
        << "description: " << terminalText(rom->description) << '\n'
        << "author:      " << terminalText(rom->author) << '\n'
        << "injectors:   " << formatFixed(rom->injectors, 1) << " pph\n"
        << "boost:       " << formatFixed(rom->boost, 1) << " psi\n"
        << "mapRange:    " << rom->mapRange << " (" << map << ")\n";
    if (!rom->dcalVersion.empty())
        out << "dcalVersion: " << terminalText(rom->dcalVersion) << '\n';
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
        .key("count").value(def.count);
    for (const AxisField& field : kAxisFields)
        json.key(field.name).value(def.axes.*field.member);
    json.key("description").value(def.description);
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
    if (args.json()) {
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
            << terminalText(def.chryslerName) << '\t' << terminalText(def.name) << '\n';
    }
    return 0;
}

int cmdSaveTables(const Arguments& args, std::ostream& out, std::ostream& err)
{
    requireWords(args, 1);
    auto rom = loadImage(args.words[0], err);
    if (!rom)
        return 1;
    if (args.option("--to"))
        rom->tblPath = *args.option("--to");
    if (const FileStatus written = writeTableFile(*rom); !written) {
        err << "tavo-cli: unable to write the table definition file: " << terminalText(rom->tblPath) << ": "
            << written.reason() << '\n';
        return 1;
    }
    out << "wrote " << rom->entryCount << " entries to " << terminalText(rom->tblPath) << '\n';
    return 0;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        out << "tavo-cli " << kVersion << '\n';
        return 0;
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
        if (command == "graph")
            return cmdGraph(parsed, out, err);
        if (command == "scale")
            return cmdScale(parsed, out, err);
        if (command == "scan")
            return cmdScan(parsed, out, err);
        if (command == "ram")
            return cmdRam(parsed, out, err);
        if (command == "log")
            return cmdLog(parsed, out, err);
        if (command == "log2csv")
            return cmdLog2Csv(parsed, out, err);
        if (command == "log-graph")
            return cmdLogGraph(parsed, out, err);
        if (command == "log-stats")
            return cmdLogStats(parsed, out, err);
        if (command == "log-hits")
            return cmdLogHits(parsed, out, err);
        throw UsageError{"unknown command " + command};
    } catch (const UsageError& usage) {
        err << "tavo-cli: " << usage.message << '\n' << kUsage;
        return 2;
    }
}

}  // namespace tavo
