#include <memory>
#include <ostream>

#include "cli/CliSupport.h"
#include "rom/RomImage.h"
#include "tables/TableDef.h"
#include "viewer/paint/GraphPng.h"

namespace tavo {

// tavo-cli graph ROM KEY --png OUT [--compare OTHER]: the Quick Viewer's
// 258 x 258 graph of one table as a PNG file, with OTHER's bytes at the same
// address as the grey comparison curve.
int cmdGraph(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const auto png = args.option("--png");
    if (!png)
        throw UsageError{"graph needs --png OUT"};
    std::unique_ptr<RomImage> rom;
    const TableDef* entry = loadEntry(rom, args, err);
    if (!entry)
        return 1;
    const std::string& key = args.words[1];
    const TableDef& def = *entry;
    if (!isGraphType(def.type)) {
        err << "tavo-cli: " << key << " is a " << tableTypeName(def.type)
            << " entry; only Normal, FiveByte and Signed tables have a graph\n";
        return 1;
    }
    std::unique_ptr<RomImage> comparison;
    if (const auto other = args.option("--compare")) {
        comparison = loadImage(*other, err);
        if (!comparison)
            return 1;
    }
    if (const FileStatus written = saveTableGraphPng(*png, *rom, def.index, comparison.get()); !written) {
        err << "tavo-cli: unable to write " << terminalText(*png) << ": " << written.reason() << '\n';
        return 1;
    }
    out << "wrote the graph of " << terminalText(def.name) << " (" << terminalText(def.chryslerName) << ") to "
        << terminalText(*png) << '\n';
    return 0;
}

}  // namespace tavo
