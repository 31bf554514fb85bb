// A ROM image with a fuzzed .tbl, loaded as TaVO loads it, through the
// Quick Viewer's logic: the table list and its sorting, the graph's lines,
// the read-outs and a point dragged, the value views, the tabular view,
// scaling with the dialog's percentage texts, and the ROM scan.
//
// Input: the .tbl, the image (grown to the whole space when the input asks,
// see imageOf) and a control part (the two percentage texts on their first
// two lines, then cursor positions, two bytes each), cut at kPartMarker.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "rom/RomImage.h"
#include "rom/RomScan.h"
#include "common/TextFormat.h"
#include "tables/TableCells.h"
#include "tables/TableFileReader.h"
#include "tables/TableFileWriter.h"
#include "tables/TableScaling.h"
#include "tables/TabularView.h"
#include "viewer/GraphGeometry.h"
#include "viewer/GraphReadouts.h"
#include "viewer/ImageDiff.h"
#include "viewer/PointDrag.h"
#include "viewer/QuickViewerState.h"
#include "viewer/TableList.h"
#include "viewer/ValueView.h"

using namespace tavo;

namespace {

// Entries given the graph, the scaling and the cursor: enough for every
// kind, few enough to keep an input fast (a fuzzer puts any entry first; the
// replay takes more of the seeds' entries).
constexpr int kMostEntriesWorked = fuzz::kReplaying ? 24 : 8;

struct Control {
    std::string xText = "100";
    std::string yText = "100";
    std::vector<std::pair<int, int>> cursor;  // dialog client positions
};

Control controlOf(std::string_view part)
{
    Control control;
    const std::size_t first = part.find('\n');
    if (first == std::string_view::npos)
        return control;
    control.xText = std::string(part.substr(0, first));
    part.remove_prefix(first + 1);
    const std::size_t second = part.find('\n');
    control.yText = std::string(part.substr(0, second));
    part.remove_prefix(second == std::string_view::npos ? part.size() : second + 1);
    // Around the graph's field, a few pixels beyond each edge.
    for (std::size_t i = 0; i + 1 < part.size() && control.cursor.size() < 8; i += 2)
        control.cursor.emplace_back(kGraphLeft - 4 + static_cast<unsigned char>(part[i]) + (part[i] & 8),
                                    kGraphTop - 4 + static_cast<unsigned char>(part[i + 1]) + (part[i + 1] & 8));
    return control;
}

// Bytes that differ outside the range: an edit that reached beyond its entry.
bool changedOnlyWithin(const ImageBuffer& before, const ImageBuffer& after, AddressRange range)
{
    if (range.empty())
        return before == after;
    const auto first = static_cast<std::size_t>(range.first);
    const auto end = static_cast<std::size_t>(range.last) + 1;
    return std::memcmp(before.data(), after.data(), first) == 0 &&
           std::memcmp(before.data() + end, after.data() + end, kAddressSpace - end) == 0;
}

// Says which entry an edit reached beyond, and where, before the check fails.
bool editStayedWithin(const ImageBuffer& before, const ImageBuffer& after, const TableDef& def, AddressRange range,
                      const char* edit)
{
    if (changedOnlyWithin(before, after, range))
        return true;
    std::size_t at = 0;
    while (at < kAddressSpace && (before[at] == after[at] || range.contains(static_cast<long>(at))))
        ++at;
    std::fprintf(stderr, "%s of entry %d (type %d at %04x, %d rows; bytes %04lx-%04lx) changed %04zx\n", edit,
                 def.index, static_cast<int>(def.type), def.offset, def.count, range.first, range.last, at);
    return false;
}

// The image before an edit, kept in one buffer for the whole run.
const ImageBuffer& imageBefore(const ImageBuffer& image)
{
    static ImageBuffer before;
    before = image;
    return before;
}

void checkTableList(RomImage& rom)
{
    const std::vector<TableListRow> rows = tableListRows(rom);
    FUZZ_CHECK(static_cast<int>(rows.size()) == rom.entryCount);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        FUZZ_CHECK(rows[i].address.size() == 4);
        FUZZ_CHECK(!rows[i].type.empty());
        const int found = findRowByName(rows, rows[i].name);
        FUZZ_CHECK(found >= 0 && found <= static_cast<int>(i));
    }
    // Sorting reorders the definitions, it never changes them.
    const std::string form = definitionsForm(rom);
    static RomImage copy;
    const fuzz::ResetOnExit done(copy);
    for (int column = 0; column < static_cast<int>(kListColumns.size()); ++column) {
        fuzz::copyRecord(copy, rom);
        RomImage* const sorted = &copy;
        sortTables(*sorted, column);
        bindTables(*sorted);
        FUZZ_CHECK(definitionsForm(*sorted) == form);
        const std::vector<TableListRow> after = tableListRows(*sorted);
        for (std::size_t i = 1; i < after.size(); ++i) {
            const TableDef& a = sorted->tables[i - 1];
            const TableDef& b = sorted->tables[i];
            const bool outOfOrder = column == 0   ? lessIgnoringCase(b.name, a.name)
                                    : column == 1 ? b.offset < a.offset
                                    : column == 2 ? b.type < a.type
                                                  : lessIgnoringCase(b.chryslerName, a.chryslerName);
            FUZZ_CHECK(!outOfOrder);
        }
    }
}

void checkGraphEntry(RomImage& rom, int index, const Control& control)
{
    TableDef& def = rom.tables[static_cast<std::size_t>(index)];
    const AddressRange own = definitionBytes(rom.image, def);
    tableGraphSegments(rom, index, &rom);
    const TabularView view = tabularViewOf(def);
    FUZZ_CHECK(static_cast<int>(view.rows.size()) <= std::max(def.count, 0));

    QuickViewerState state;
    state.current = index;
    parseGraphRanges(state, def);
    const ImageBuffer& before = imageBefore(rom.image);
    for (const auto& [mx, my] : control.cursor) {
        updateReadouts(state, rom, mx, my);
        if (beginPointDrag(state, rom, mx, my)) {
            rubberBand(state, mx + 3, my - 3);
            endPointDrag(state, rom, mx + 3, my - 3);
        } else {
            state.dragging = false;
        }
    }
    FUZZ_CHECK(editStayedWithin(before, rom.image, def, own, "a point dragged"));

    // The Scale Table dialog's OK, on the record's own image.
    ScalePercentages percentages;
    confirmScale(def, percentages, control.xText, control.yText);
    FUZZ_CHECK(isUsablePercentage(percentages.x) && isUsablePercentage(percentages.y));
    FUZZ_CHECK(editStayedWithin(before, rom.image, def, own, "scaling"));
}

void checkValueEntry(RomImage& rom, int index)
{
    const TableDef& def = rom.tables[static_cast<std::size_t>(index)];
    const ImageBuffer& before = imageBefore(rom.image);
    // What the view shows, written back, changes nothing.
    const std::string shown = constantText(rom.image, def);
    writeConstantText(rom.image, def, shown);
    const auto boxes = flagBoxes(rom.image, def);
    for (int bit = 0; bit < 8 && def.type == TableType::Flags8; ++bit)
        if (boxes[static_cast<std::size_t>(bit)].visible)
            writeFlag(rom.image, def, bit, boxes[static_cast<std::size_t>(bit)].checked);
    choiceButtons(rom.image, def);
    FUZZ_CHECK(rom.image == before);
}

void checkScan(RomImage& rom)
{
    static RomImage copy;
    const fuzz::ResetOnExit done(copy);
    fuzz::copyRecord(copy, rom);
    RomImage* const scanned = &copy;
    const ScanResult result = scanLoadedImage(*scanned);
    FUZZ_CHECK(scanned->entryCount <= kTableCapacity);
    FUZZ_CHECK(scanned->entryCount == rom.entryCount + static_cast<int>(result.added.size()));
    for (const int index : result.added) {
        const TableDef& def = scanned->tables[static_cast<std::size_t>(index)];
        FUZZ_CHECK(def.offset > rom.loadOffset && isGraphType(def.type));
        for (int other = 0; other < index; ++other)
            FUZZ_CHECK(scanned->tables[static_cast<std::size_t>(other)].offset != def.offset);
    }
    // The definitions found are stored and read back as they are.
    static RomImage readBack;
    const fuzz::ResetOnExit readBackDone(readBack);
    RomImage* const reread = &readBack;
    readTableText(*reread, formatTableFile(*scanned));
    FUZZ_CHECK(definitionsForm(*reread) == definitionsForm(*scanned));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzz::bytesOf(data, size);
    const auto parts = fuzz::inputParts(input, 3);
    static std::string grown;
    static RomImage record;
    const fuzz::ResetOnExit done(record);
    if (!fuzz::loadScratchImage(record, "viewer", parts[0], fuzz::imageOf(parts[1], input, grown)))
        return 0;
    RomImage* const rom = &record;
    FUZZ_CHECK(rom->loaded && rom->entryCount >= 0 && rom->entryCount <= kTableCapacity);
    FUZZ_CHECK(rom->loadOffset >= 0 && rom->loadOffset + rom->imageSize <= static_cast<int>(kAddressSpace));
    for (int i = 0; i < rom->entryCount; ++i) {
        const TableDef& def = rom->tables[static_cast<std::size_t>(i)];
        FUZZ_CHECK(def.image == &rom->image && def.index == i && def.count >= 0);
        viewerCaption(def);
    }
    checkTableList(*rom);
    checkScan(*rom);
    const Control control = controlOf(parts[2]);
    // Each entry is edited on the image as loaded: definitions may overlap,
    // and an edit of one may rewrite another's count byte.
    static ImageBuffer loaded;
    loaded = rom->image;
    for (int i = 0; i < std::min(rom->entryCount, kMostEntriesWorked); ++i) {
        if (isGraphType(rom->tables[static_cast<std::size_t>(i)].type))
            checkGraphEntry(*rom, i, control);
        else
            checkValueEntry(*rom, i);
        rom->image = loaded;
    }
    return 0;
}
