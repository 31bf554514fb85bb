#include "tables/TableFileWriter.h"

#include <algorithm>
#include <vector>

#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "common/UserPrompts.h"
#include "rom/RomImage.h"
#include "tables/TokenCodec.h"

namespace tavo {

namespace {

constexpr const char* kLineEnd = "\r\n";

// A header line must stay one line: line breaks in it become spaces.
std::string singleLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    return line;
}

void line(std::string& out, std::string_view text)
{
    out += text;
    out += kLineEnd;
}

std::string entryLine(const TableDef& def)
{
    std::string text = hexLower(static_cast<std::uint32_t>(def.offset & 0xFFFF), 4, ' ');
    text += ' ';
    text += static_cast<char>('0' + static_cast<int>(def.type));
    text += def.moveable ? " y" : " n";
    // Each field as wide as the reader takes it back, so the line reads back
    // as written. The Chrysler name, a key other calibrations share, is one
    // token too.
    auto field = [&](const std::string& value, std::size_t fieldWidth) {
        text += ' ';
        text += encodeToken(cutToWidth(value, fieldWidth));
    };
    field(def.name, width::name);
    for (const AxisField& axis : kAxisFields)
        field(def.axes.*axis.member, axis.width);
    field(def.chryslerName, width::chryslerName);
    field(def.description, width::description);
    if (def.type == TableType::Flags8) {
        for (const std::string& bit : def.bitNames)
            field(bit, width::choiceName);
    } else if (def.type == TableType::Value8) {
        for (std::size_t k = 0; k < def.valueNames.size(); ++k) {
            field(def.valueNames[k], width::choiceName);
            text += ' ';
            text += hexLower(static_cast<std::uint32_t>(def.values[k]));
        }
    }
    return text;
}

// The lines before the entries: the ROM information and the legend.
std::string formatHeader(const RomImage& rom)
{
    std::string out;
    line(out, hexLower(static_cast<std::uint32_t>(rom.loadOffset & 0xFFFF), 4, ' '));
    line(out, rom.description.empty() ? std::string("Description") : singleLine(rom.description));
    line(out, rom.author.empty() ? std::string("TaVO") : singleLine(rom.author));
    line(out, "; This file written by TaVO build 195");
    line(out, "; ");
    line(out, "; Design fuel injectors flow rate in Pounds/Hour (informational)");
    line(out, "injectors " + formatFixed(rom.injectors, 1, 2));
    line(out, "; Target maximum boost in PSI (informational)");
    line(out, "boost " + formatFixed(rom.boost, 1, 2));
    line(out, "; Design MAP range in Bars (informational)");
    line(out, rom.mapRange == kMap25Bar ? "map 2.5" : rom.mapRange == kMap3Bar ? "map 3" : "map 2");
    if (!rom.dcalVersion.empty()) {
        line(out, "; ");
        line(out, "; Data file had D-Cal information in it:");
        line(out, "D-Cal_Version " + rom.dcalVersion);
        line(out, "checksum " + rom.checksumName + " " + hexLower(rom.checksumA, 4, ' ') + " " +
                      hexLower(rom.checksumB, 4, ' '));
        line(out, "crc32 " + hexLower(rom.crc32, 8, ' '));
        line(out, "; ");
    }
    for (const char* legend : {
             "; Table Entries:",
             ";   Offset",
             ";   Type (0=Normal, 1 = 5byte, 2=Signed, 3=8bit, 4=16bit, 5=8bitflag, 6=8bitval)",
             ";   Moveable (obsolete, ignored)",
             ";   Name",
             ";   X Label (Input)",
             ";   X Minimum",
             ";   X Maximum",
             ";   X Units",
             ";   Y Label (Output)",
             ";   Y Minimum",
             ";   Y Maximum",
             ";   Y Units",
             ";   Chrysler Name (max 6 chars - SHOULD BE THE SAME for all different cals)",
             ";   Description",
             ";   in addition: D-Cal style constants and bitfields add extra fields",
         })
        line(out, legend);
    line(out, ";   There are " + std::to_string(rom.entryCount) + " entries following:");
    line(out, ";   -- CAL DATA BEGINS --");
    return out;
}

}  // namespace

std::string formatTableFile(const RomImage& rom)
{
    std::string out = formatHeader(rom);
    out.reserve(out.size() + static_cast<std::size_t>(std::max(rom.entryCount, 0)) * 256);
    for (int i = 0; i < rom.entryCount && i < kTableCapacity; ++i)
        line(out, entryLine(rom.tables[static_cast<std::size_t>(i)]));
    line(out, ";   -- CAL DATA ENDS --");
    return out;
}

std::string definitionsForm(const RomImage& rom)
{
    std::vector<std::string> entries;
    for (int i = 0; i < rom.entryCount && i < kTableCapacity; ++i)
        entries.push_back(entryLine(rom.tables[static_cast<std::size_t>(i)]));
    std::sort(entries.begin(), entries.end());
    std::string form = formatHeader(rom);
    for (const std::string& entry : entries)
        line(form, entry);
    return form;
}

bool definitionsUnsaved(const RomImage& rom)
{
    return !rom.tblPath.empty() && definitionsForm(rom) != rom.storedDefinitions;
}

FileStatus writeTableFile(RomImage& rom)
{
    const FileStatus written = writeFileAtomically(rom.tblPath, formatTableFile(rom));
    if (written)
        rom.storedDefinitions = definitionsForm(rom);
    return written;
}

bool storeTableFile(RomImage& rom, UserPrompts& prompts)
{
    const FileStatus written = writeTableFile(rom);
    if (written)
        return true;
    prompts.showMessage("Unable to write the table definition file:\n" + rom.tblPath + "\n" + written.reason(),
                        "TaVO Error", MessageIcon::Warning);
    return false;
}

}  // namespace tavo
