#include "rom/RomScan.h"

#include <algorithm>
#include <optional>

#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "rom/RomPrompts.h"
#include "tables/GenericEntry.h"
#include "tables/ShapeTests.h"
#include "tables/TableCells.h"

namespace tavo {

namespace {

struct Candidate {
    TableType type = TableType::Normal;
    int count = 0;
};

// The shape of the bytes at an address: a Normal or Signed table first, a
// FiveByte table when that fails, or nothing.
std::optional<Candidate> tableShapeAt(const ImageBuffer& image, int address)
{
    const int normal = testNormalTable(image, address);
    if (normal > 0)
        return Candidate{TableType::Normal, normal};
    if (normal < 0)
        return Candidate{TableType::Signed, -normal};
    const int rows = testFiveByteTable(image, address);
    if (rows > 0)
        return Candidate{TableType::FiveByte, rows};
    return std::nullopt;
}

bool isDefined(const RomImage& rom, int entriesInUse, int address)
{
    for (int i = 0; i < entriesInUse; ++i)
        if (rom.tables[static_cast<std::size_t>(i)].offset == address)
            return true;
    return false;
}

// A found table gets a generic name, "L" and its address, and the raw scale
// of a Normal table whatever its kind (a Signed one too), until the user
// describes it.
void describeFoundTable(TableDef& def, int address, const Candidate& shape)
{
    applyGenericEntry(def, {"L" + hexUpper(static_cast<std::uint32_t>(address), 4, ' '), "IN", "OUT"});
    def.offset = address;
    def.type = shape.type;
    def.count = shape.count;
}

}  // namespace

ScanResult scanLoadedImage(RomImage& rom)
{
    ScanResult result;
    int entries = std::clamp(rom.entryCount, 0, kTableCapacity);
    const int start = std::max(rom.loadOffset, 0);
    for (int at = start; at < kScanEnd; ++at) {
        if (rom.image[static_cast<std::size_t>(at)] != kLoadXImmediate)
            continue;
        const int target = byteAt(rom.image, at + 1L).value_or(0) * 256 + byteAt(rom.image, at + 2L).value_or(0);
        if (target <= rom.loadOffset)
            continue;
        const auto shape = tableShapeAt(rom.image, target);
        if (!shape || isDefined(rom, entries, target))
            continue;
        if (entries >= kTableCapacity) {
            result.stoppedAtCapacity = true;
            break;
        }
        describeFoundTable(rom.tables[static_cast<std::size_t>(entries)], target, *shape);
        result.added.push_back(entries);
        rom.entryCount = ++entries;
    }
    return result;
}

std::string scanSummaryText(const RomImage& rom, const ScanResult& result)
{
    constexpr std::size_t kNamesShown = 6;
    if (result.added.empty())
        return "ROM Scan found no new tables.";
    const std::size_t count = result.added.size();
    std::string text = std::to_string(count) + (count == 1 ? " definition added: " : " definitions added: ");
    for (std::size_t i = 0; i < std::min(count, kNamesShown); ++i) {
        if (i > 0)
            text += ", ";
        text += rom.tables[static_cast<std::size_t>(result.added[i])].name;
    }
    if (count > kNamesShown)
        text += " and " + std::to_string(count - kNamesShown) + " more";
    return text + ".";
}

ScanResult scanRom(RomImage& rom, RomPrompts& prompts)
{
    loadRomImage(rom, prompts);
    if (!rom.loaded)
        return {};
    ScanResult result = scanLoadedImage(rom);
    if (result.stoppedAtCapacity)
        prompts.showMessage(kScanTableListFull, "TaVO", MessageIcon::Warning);
    return result;
}

}  // namespace tavo
