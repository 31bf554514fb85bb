// tavo-cli info, tables and save-tables: an image's ROM information and
// definitions, and writing the definitions back.
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "tables/TableFileWriter.h"
#include "tables/TableLookup.h"

namespace tavo {

namespace {

std::string hex4(int value)
{
    return hexLower(static_cast<std::uint32_t>(value), 4, '0');
}

}  // namespace

int cmdInfo(const Arguments& args, std::ostream& out, std::ostream& err)
{
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

namespace {

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

}  // namespace

int cmdTables(const Arguments& args, std::ostream& out, std::ostream& err)
{
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

}  // namespace tavo
