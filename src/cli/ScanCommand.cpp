// tavo-cli scan: the ROM scan over an image and its existing .tbl file.
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "rom/RomScan.h"
#include "tables/TableFileWriter.h"

namespace tavo {

int cmdScan(const Arguments& args, std::ostream& out, std::ostream& err)
{
    auto rom = loadImage(args.words[0], err);
    if (!rom)
        return 1;
    const ScanResult result = scanLoadedImage(*rom);
    if (result.stoppedAtCapacity)
        err << kScanTableListFull << '\n';
    const bool write = args.flag("--write");
    if (const FileStatus written = write ? writeTableFile(*rom) : FileStatus(); !written) {
        err << "tavo-cli: unable to write the table definition file: " << terminalText(rom->tblPath) << ": "
            << written.reason() << '\n';
        return 1;
    }

    if (args.json()) {
        JsonWriter json;
        json.beginObject().key("added").beginArray();
        for (const int index : result.added) {
            const TableDef& def = rom->tables[static_cast<std::size_t>(index)];
            json.beginObject()
                .key("index").value(index)
                .key("offset").value(def.offset)
                .key("type").value(static_cast<int>(def.type))
                .key("typeName").value(tableTypeName(def.type))
                .key("count").value(def.count)
                .key("name").value(def.name)
                .endObject();
        }
        json.endArray()
            .key("entryCount").value(rom->entryCount)
            .key("stoppedAtCapacity").value(result.stoppedAtCapacity)
            .key("written").value(write)
            .endObject();
        out << json.text() << '\n';
        return 0;
    }
    for (const int index : result.added) {
        const TableDef& def = rom->tables[static_cast<std::size_t>(index)];
        out << index << '\t' << hexLower(static_cast<std::uint32_t>(def.offset), 4, '0') << '\t'
            << tableTypeName(def.type) << '\t' << def.count << '\t' << def.name << '\n';
    }
    out << "entryCount: " << rom->entryCount << '\n';
    if (write)
        out << "wrote " << rom->entryCount << " entries to " << terminalText(rom->tblPath) << '\n';
    return 0;
}

}  // namespace tavo
