#include "tables/TableFileReader.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "rom/RomPrompts.h"
#include "tables/GenericEntry.h"
#include "tables/TableFileWriter.h"
#include "tables/TokenCodec.h"

namespace tavo {

namespace {

// A definition file is text: 514 of the longest entry lines the writer
// produces fill about 2 MiB. A larger file is refused, never read in part.
constexpr std::size_t kMaxTableFileBytes = 64 * 1024 * 1024;

enum class Slot {
    Offset, Type, Moveable, Name, Axis, Chrysler, Description, BitName, ChoiceName, ChoiceValue,
};

struct FieldSpec {
    Slot slot;
    int k = 0;  // axis text (position in kAxisFields), bit or choice number
};

using Form = std::vector<FieldSpec>;

constexpr FieldSpec kXLabel{Slot::Axis, 0};
constexpr FieldSpec kYLabel{Slot::Axis, 4};

Form commonHead()
{
    Form head = {{Slot::Offset}, {Slot::Type}, {Slot::Moveable}, {Slot::Name}};
    for (int k = 0; k < static_cast<int>(kAxisFields.size()); ++k)
        head.push_back({Slot::Axis, k});
    return head;
}

// The entry forms in the order they are tried.
const std::vector<Form>& entryForms()
{
    static const std::vector<Form> forms = [] {
        Form fourteen = commonHead();
        fourteen.push_back({Slot::Chrysler});
        fourteen.push_back({Slot::Description});
        Form choice = fourteen;
        for (int k = 0; k < 8; ++k) {
            choice.push_back({Slot::ChoiceName, k});
            choice.push_back({Slot::ChoiceValue, k});
        }
        Form bits = fourteen;
        for (int k = 0; k < 8; ++k)
            bits.push_back({Slot::BitName, k});
        // Thirteen tokens: the fourteen-token form without its Chrysler name.
        Form thirteen = commonHead();
        thirteen.push_back({Slot::Description});
        Form six = {{Slot::Offset}, {Slot::Type}, {Slot::Moveable}, {Slot::Name}, kXLabel, kYLabel};
        Form seven = six;
        seven.push_back({Slot::Description});
        return std::vector<Form>{choice, bits, fourteen, thirteen, seven, six};
    }();
    return forms;
}

std::string textField(const std::string& token, std::size_t fieldWidth)
{
    return decodeToken(cutToWidth(token, fieldWidth));
}

void applyField(TableDef& def, const FieldSpec& spec, const std::string& token, std::uint32_t hex)
{
    switch (spec.slot) {
    case Slot::Offset: def.offset = static_cast<std::int32_t>(hex); break;
    case Slot::Type:
        if (token[0] >= '0' && token[0] <= '6')
            def.type = static_cast<TableType>(token[0] - '0');
        break;
    case Slot::Moveable: def.moveable = token[0] == 'y' || token[0] == '1'; break;
    case Slot::Name: def.name = textField(token, width::name); break;
    case Slot::Axis: {
        const AxisField& field = kAxisFields[static_cast<std::size_t>(spec.k)];
        def.axes.*field.member = textField(token, field.width);
        break;
    }
    case Slot::Chrysler: def.chryslerName = cutToWidth(token, width::chryslerName); break;
    case Slot::Description: def.description = textField(token, width::description); break;
    case Slot::BitName:
        def.bitNames[static_cast<std::size_t>(spec.k)] = textField(token, width::choiceName);
        break;
    case Slot::ChoiceName:
        def.valueNames[static_cast<std::size_t>(spec.k)] = textField(token, width::choiceName);
        break;
    case Slot::ChoiceValue:
        def.values[static_cast<std::size_t>(spec.k)] = static_cast<std::int32_t>(hex);
        break;
    }
}

enum class Scan { Offset, Hex, Token };

Scan scanOf(const FieldSpec& spec)
{
    return spec.slot == Slot::Offset ? Scan::Offset : spec.slot == Slot::ChoiceValue ? Scan::Hex : Scan::Token;
}

// One conversion of a line: how it was scanned, what it gave and where the
// scanner stood after it.
struct Conversion {
    Scan scan;
    std::string token;
    std::uint32_t hex = 0;
    TokenScanner after;
};

// The line converted by the first entry form that takes all its tokens, as
// the slot's new content; nothing when no form matches.
std::optional<TableDef> parseEntry(std::string_view line, const TableDef& slot)
{
    // The forms begin alike (an offset, then tokens; only a choice's values
    // are scanned as hexadecimal), so a conversion is made once for every
    // form that begins with the same scans, and a conversion that failed
    // fails the later forms that need it too.
    std::vector<Conversion> made;
    std::size_t failedAt = std::string_view::npos;
    Scan failedScan = Scan::Token;
    for (const Form& form : entryForms()) {
        std::size_t same = 0;
        while (same < made.size() && same < form.size() && made[same].scan == scanOf(form[same]))
            ++same;
        if (same < made.size() && same < form.size()) {
            made.erase(made.begin() + static_cast<std::ptrdiff_t>(same), made.end());
            failedAt = std::string_view::npos;
        }
        bool taken = true;
        while (made.size() < form.size()) {
            const Scan scan = scanOf(form[made.size()]);
            if (failedAt == made.size() && failedScan == scan) {
                taken = false;
                break;
            }
            Conversion next{scan, {}, 0, made.empty() ? TokenScanner(line) : made.back().after};
            const bool ok = scan == Scan::Token ? next.after.token(next.token)
                                                : next.after.hex(scan == Scan::Offset ? 4 : 0, next.hex);
            if (!ok) {
                failedAt = made.size();
                failedScan = scan;
                taken = false;
                break;
            }
            made.push_back(std::move(next));
        }
        if (!taken)
            continue;

        TableDef def = slot;
        for (std::size_t i = 0; i < form.size(); ++i)
            applyField(def, form[i], made[i].token, made[i].hex);
        def.count = 0;
        const std::size_t tokens = form.size();
        if (tokens == 13)
            def.chryslerName = "NAME";
        if (tokens == 7 || tokens == 6)
            applyGenericEntry(def, {def.name, def.axes.xLabel, def.axes.yLabel,
                                    tokens == 7 ? def.description : "Description", def.type});
        return def;
    }
    return std::nullopt;
}

// Whether a line beyond the capacity would have been an entry. Every entry
// form begins with the six conversions of the shortest one (a hexadecimal
// offset as TokenScanner::hex(4) reads it, then five tokens), so these decide;
// nothing is copied and the rest of the line is not looked at, which keeps a
// huge file nearly as fast to read as comments.
bool isEntryLine(std::string_view line)
{
    auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    auto hexDigit = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); };
    std::size_t pos = 0;
    while (pos < line.size() && space(line[pos]))
        ++pos;
    if (!parseHexPrefix(line.substr(pos), 4))
        return false;
    for (int digits = 0; digits < 4 && pos < line.size() && hexDigit(line[pos]); ++digits)
        ++pos;
    for (int tokens = 0; tokens < 5; ++tokens) {
        while (pos < line.size() && space(line[pos]))
            ++pos;
        if (pos == line.size())
            return false;
        while (pos < line.size() && !space(line[pos]))
            ++pos;
    }
    return true;
}

// Handles a keyword line; false when the line's first token is no keyword.
bool applyKeyword(RomImage& rom, std::string_view line)
{
    TokenScanner scanner(line);
    std::string keyword;
    if (!scanner.token(keyword))
        return false;
    if (keyword == "injectors" || keyword == "boost") {
        std::string value;
        if (scanner.token(value)) {
            if (const auto number = parseFloatPrefix(value))
                (keyword == "injectors" ? rom.injectors : rom.boost) = *number;
        }
        return true;
    }
    if (keyword == "crc32") {
        std::uint32_t value = 0;
        if (scanner.hex(8, value))
            rom.crc32 = value;
        return true;
    }
    if (keyword == "D-Cal_Version") {
        std::string version;
        if (scanner.token(version))
            rom.dcalVersion = cutToWidth(version, width::dcalText);
        return true;
    }
    if (keyword == "map") {
        std::string value;
        if (scanner.token(value)) {
            if (value == "2")
                rom.mapRange = kMap2Bar;
            else if (value == "2.5")
                rom.mapRange = kMap25Bar;
            else if (value == "3")
                rom.mapRange = kMap3Bar;
        }
        return true;
    }
    if (keyword == "checksum") {
        std::string name, a, b;
        if (scanner.token(name) && scanner.token(a) && scanner.token(b)) {
            rom.checksumName = cutToWidth(name, width::dcalText);
            if (const auto value = parseHexPrefix(a, 4))
                rom.checksumA = *value;
            if (const auto value = parseHexPrefix(b, 4))
                rom.checksumB = *value;
        }
        return true;
    }
    return false;
}

}  // namespace

TableReadResult readTableText(RomImage& rom, std::string_view text)
{
    TableReadResult result;
    result.fileFound = true;
    rom.entryCount = 0;
    rom.dcalVersion.clear();

    std::size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // The C library stops a line at its first NUL byte.
        if (const auto nul = line.find('\0'); nul != std::string_view::npos)
            line = line.substr(0, nul);
        ++lineNumber;

        if (lineNumber == 1) {
            if (const auto offset = parseHexPrefix(line, 4))
                rom.loadOffset = static_cast<std::int32_t>(*offset);
            continue;
        }
        if (lineNumber == 2) {
            rom.description = cutToWidth(line, width::romText);
            continue;
        }
        if (lineNumber == 3) {
            rom.author = cutToWidth(line, width::romText);
            continue;
        }
        if (!line.empty() && line[0] == ';')
            continue;
        if (applyKeyword(rom, line))
            continue;
        if (rom.entryCount >= kTableCapacity) {
            if (isEntryLine(line))
                ++result.entriesDropped;
            continue;
        }
        TableDef& slot = rom.tables[static_cast<std::size_t>(rom.entryCount)];
        if (auto def = parseEntry(line, slot)) {
            result.displacedSlots.push_back(std::move(slot));
            slot = std::move(*def);
            ++rom.entryCount;
        }
    }
    return result;
}

TableReadResult readTableFile(RomImage& rom, RomPrompts& prompts)
{
    const FileContent content = readWholeFile(rom.tblPath, kMaxTableFileBytes);
    if (content.status.missing()) {
        rom.entryCount = 0;
        rom.dcalVersion.clear();
        // Nothing is stored until the new file has been written.
        rom.storedDefinitions.clear();
        // A new image gets its load offset and ROM information before its
        // bytes are placed; the offset is simply taken, nothing is moved.
        if (!prompts.runRomInformation(rom)) {
            TableReadResult cancelled;
            cancelled.cancelled = true;
            return cancelled;
        }
        storeTableFile(rom, prompts);
        return TableReadResult{};
    }
    if (!content.status) {
        // It exists but cannot be read: never taken for missing, so the
        // user's file is not replaced, and the record is left as it was.
        prompts.showMessage(tableFileUnreadable(rom.tblPath, content.status.reason()), "TaVO Error",
                            MessageIcon::Warning);
        TableReadResult refused;
        refused.fileFound = true;
        refused.refused = true;
        return refused;
    }
    const std::string_view text(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size());
    TableReadResult result = readTableText(rom, text);
    rom.storedDefinitions = definitionsForm(rom);
    if (result.entriesDropped > 0) {
        prompts.showMessage("This table definition file holds more than 514 entries.\n"
                            "Only the first 514 have been loaded.",
                            "TaVO Error", MessageIcon::Warning);
    }
    return result;
}

std::string tableFileUnreadable(std::string_view path, std::string_view reason)
{
    return "Unable to read the table definition file:\n" + std::string(path) + "\n" + std::string(reason);
}

}  // namespace tavo
