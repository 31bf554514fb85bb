#include "rom/EditStep.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <tuple>

#include "rom/RomImage.h"

namespace tavo {

namespace {

// Differing bytes closer than this are kept as one run: a run costs more
// than a few equal bytes inside it.
constexpr std::size_t kJoinGap = 8;
constexpr std::size_t kCompareBlock = 64;

std::size_t textMemory(const std::string& text)
{
    // Short texts live inside the string itself.
    return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

std::size_t entryMemory(const TableDef& def)
{
    std::size_t bytes = sizeof(TableDef) + textMemory(def.name) + textMemory(def.chryslerName) +
                        textMemory(def.description);
    for (const AxisField& field : kAxisFields)
        bytes += textMemory(def.axes.*field.member);
    for (const std::string& name : def.bitNames)
        bytes += textMemory(name);
    for (const std::string& name : def.valueNames)
        bytes += textMemory(name);
    return bytes;
}

std::size_t informationMemory(const RomInformationState& information)
{
    return sizeof(RomInformationState) + textMemory(information.description) + textMemory(information.author) +
           textMemory(information.checksumName) + textMemory(information.dcalVersion);
}

auto storedFields(const TableDef& def)
{
    return std::tie(def.offset, def.type, def.moveable, def.name, def.axes, def.chryslerName, def.description,
                    def.bitNames, def.valueNames, def.values);
}

void diffBytes(const ImageBuffer& before, const ImageBuffer& after, EditStep& step)
{
    std::size_t runStart = 0;
    std::size_t lastDiffering = 0;
    bool open = false;
    auto closeRun = [&] {
        const std::size_t length = lastDiffering - runStart + 1;
        step.runs.push_back({static_cast<std::int32_t>(runStart), static_cast<std::int32_t>(length)});
        step.bytesBefore.insert(step.bytesBefore.end(), before.begin() + runStart, before.begin() + runStart + length);
        step.bytesAfter.insert(step.bytesAfter.end(), after.begin() + runStart, after.begin() + runStart + length);
    };
    for (std::size_t block = 0; block < kAddressSpace; block += kCompareBlock) {
        if (std::memcmp(before.data() + block, after.data() + block, kCompareBlock) == 0)
            continue;
        for (std::size_t at = block; at < block + kCompareBlock; ++at) {
            if (before[at] == after[at])
                continue;
            if (open && at - lastDiffering > kJoinGap)
                closeRun();
            if (!open || at - lastDiffering > kJoinGap)
                runStart = at;
            open = true;
            lastDiffering = at;
        }
    }
    if (open)
        closeRun();
}

void diffDefinitions(const std::vector<TableDef>& before, const RomImage& now, EditStep& step)
{
    const int was = static_cast<int>(before.size());
    const int is = std::clamp(now.entryCount, 0, kTableCapacity);
    auto entryNow = [&](int i) -> const TableDef& { return now.tables[static_cast<std::size_t>(i)]; };
    int prefix = 0;
    while (prefix < was && prefix < is && sameDefinition(before[static_cast<std::size_t>(prefix)], entryNow(prefix)))
        ++prefix;
    if (prefix == was && prefix == is)
        return;
    int suffix = 0;
    while (suffix < was - prefix && suffix < is - prefix &&
           sameDefinition(before[static_cast<std::size_t>(was - 1 - suffix)], entryNow(is - 1 - suffix)))
        ++suffix;
    step.definitionsChanged = true;
    step.first = prefix;
    step.removed.assign(before.begin() + prefix, before.begin() + (was - suffix));
    for (int i = prefix; i < is - suffix; ++i)
        step.added.push_back(entryNow(i));
}

// The definitions in use as slots [0, count) of `slots`: the image's fixed
// array, or the state's vector (count = its size).
struct Sequence {
    std::vector<TableDef>& slots;
    int count;
};

// Where `entries` stand in the sequence: at `first` when they are still
// there, else wherever an equal definition stands, each found once.
std::vector<int> locate(const Sequence& sequence, int first, const std::vector<TableDef>& entries)
{
    const int size = static_cast<int>(entries.size());
    std::vector<int> positions;
    bool inPlace = first >= 0 && first + size <= sequence.count;
    for (int k = 0; inPlace && k < size; ++k)
        inPlace = sameDefinition(sequence.slots[static_cast<std::size_t>(first + k)], entries[static_cast<std::size_t>(k)]);
    if (inPlace) {
        for (int k = 0; k < size; ++k)
            positions.push_back(first + k);
        return positions;
    }
    std::vector<bool> taken(static_cast<std::size_t>(sequence.count), false);
    for (const TableDef& entry : entries) {
        for (int i = 0; i < sequence.count; ++i) {
            if (!taken[static_cast<std::size_t>(i)] && sameDefinition(sequence.slots[static_cast<std::size_t>(i)], entry)) {
                taken[static_cast<std::size_t>(i)] = true;
                positions.push_back(i);
                break;
            }
        }
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

// Replaces the definitions `from` (found as above) with `to`, placed where
// the first of them stood, or at `first` when none was found. Returns the
// new count.
int replaceEntries(Sequence sequence, int first, const std::vector<TableDef>& from, const std::vector<TableDef>& to,
                    std::size_t capacity)
{
    const std::vector<int> positions = locate(sequence, first, from);
    const bool contiguous = !positions.empty() && positions.back() - positions.front() + 1 == static_cast<int>(positions.size());
    if (contiguous && positions.size() == to.size()) {
        for (std::size_t k = 0; k < to.size(); ++k)
            sequence.slots[static_cast<std::size_t>(positions[k])] = to[k];
        return sequence.count;
    }
    int at = positions.empty() ? std::clamp(first, 0, sequence.count) : positions.front();
    // Take out the entries found, closing the gaps.
    if (!positions.empty()) {
        int write = positions.front();
        std::size_t next = 0;
        for (int read = positions.front(); read < sequence.count; ++read) {
            if (next < positions.size() && positions[next] == read) {
                ++next;
                continue;
            }
            if (write != read)
                sequence.slots[static_cast<std::size_t>(write)] = std::move(sequence.slots[static_cast<std::size_t>(read)]);
            ++write;
        }
        sequence.count = write;
    }
    // Put the new ones in, as far as the array has room.
    const std::size_t room = capacity - static_cast<std::size_t>(sequence.count);
    const auto inserted = static_cast<int>(std::min(to.size(), room));
    if (inserted == 0)
        return sequence.count;
    if (sequence.slots.size() < static_cast<std::size_t>(sequence.count + inserted))
        sequence.slots.resize(static_cast<std::size_t>(sequence.count + inserted));
    std::move_backward(sequence.slots.begin() + at, sequence.slots.begin() + sequence.count,
                       sequence.slots.begin() + sequence.count + inserted);
    std::copy(to.begin(), to.begin() + inserted, sequence.slots.begin() + at);
    sequence.count += inserted;
    return sequence.count;
}

void applyStep(const EditStep& step, bool forward, RomImage& rom, ImageState& state)
{
    const std::vector<std::uint8_t>& bytes = forward ? step.bytesAfter : step.bytesBefore;
    std::size_t from = 0;
    for (const EditStep::ByteRun& run : step.runs) {
        const auto length = static_cast<std::size_t>(run.length);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), length, rom.image.begin() + run.address);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), length, state.bytes.begin() + run.address);
        from += length;
    }
    if (step.information) {
        const RomInformationState& information = forward ? step.information->after : step.information->before;
        applyRomInformation(rom, information);
        state.information = information;
    }
    if (step.definitionsChanged) {
        const std::vector<TableDef>& was = forward ? step.removed : step.added;
        const std::vector<TableDef>& becomes = forward ? step.added : step.removed;
        Sequence inImage{rom.tables, std::clamp(rom.entryCount, 0, kTableCapacity)};
        rom.entryCount = replaceEntries(inImage, step.first, was, becomes, kTableCapacity);
        Sequence inState{state.entries, static_cast<int>(state.entries.size())};
        state.entries.resize(static_cast<std::size_t>(replaceEntries(inState, step.first, was, becomes, kTableCapacity)));
    }
    bindTables(rom);
}

}  // namespace

RomInformationState romInformationOf(const RomImage& rom)
{
    return {rom.loadOffset,   rom.description, rom.author,   rom.checksumName,
            rom.checksumA,    rom.checksumB,   rom.crc32,    rom.dcalVersion,
            rom.mapRange,     rom.injectors,   rom.boost};
}

void applyRomInformation(RomImage& rom, const RomInformationState& information)
{
    rom.loadOffset = information.loadOffset;
    rom.description = information.description;
    rom.author = information.author;
    rom.checksumName = information.checksumName;
    rom.checksumA = information.checksumA;
    rom.checksumB = information.checksumB;
    rom.crc32 = information.crc32;
    rom.dcalVersion = information.dcalVersion;
    rom.mapRange = information.mapRange;
    rom.injectors = information.injectors;
    rom.boost = information.boost;
}

bool sameInformation(const RomInformationState& a, const RomInformationState& b)
{
    return a.loadOffset == b.loadOffset && a.description == b.description && a.author == b.author &&
           a.checksumName == b.checksumName && a.checksumA == b.checksumA && a.checksumB == b.checksumB &&
           a.crc32 == b.crc32 && a.dcalVersion == b.dcalVersion && a.mapRange == b.mapRange &&
           std::bit_cast<std::uint32_t>(a.injectors) == std::bit_cast<std::uint32_t>(b.injectors) &&
           std::bit_cast<std::uint32_t>(a.boost) == std::bit_cast<std::uint32_t>(b.boost);
}

bool sameDefinition(const TableDef& a, const TableDef& b)
{
    return storedFields(a) == storedFields(b);
}

std::unique_ptr<ImageState> ImageState::of(const RomImage& rom)
{
    auto state = std::make_unique<ImageState>();
    state->bytes = rom.image;
    state->information = romInformationOf(rom);
    const int count = std::clamp(rom.entryCount, 0, kTableCapacity);
    state->entries.assign(rom.tables.begin(), rom.tables.begin() + count);
    return state;
}

std::size_t EditStep::memoryUsed() const
{
    std::size_t bytes = sizeof(EditStep) + textMemory(name) + textMemory(focus) +
                        runs.capacity() * sizeof(ByteRun) + bytesBefore.capacity() + bytesAfter.capacity();
    if (information)
        bytes += sizeof(InformationChange) + informationMemory(information->before) + informationMemory(information->after) -
                 2 * sizeof(RomInformationState);
    bytes += (removed.capacity() + added.capacity()) * sizeof(TableDef);
    for (const TableDef& def : removed)
        bytes += entryMemory(def) - sizeof(TableDef);
    for (const TableDef& def : added)
        bytes += entryMemory(def) - sizeof(TableDef);
    return bytes;
}

EditStep diffImage(const ImageState& before, const RomImage& now)
{
    EditStep step;
    diffBytes(before.bytes, now.image, step);
    if (RomInformationState information = romInformationOf(now); !sameInformation(before.information, information))
        step.information = std::make_unique<EditStep::InformationChange>(
            EditStep::InformationChange{before.information, std::move(information)});
    diffDefinitions(before.entries, now, step);
    return step;
}

std::string focusOf(const EditStep& step, bool undone)
{
    if (!undone)
        return step.focus;
    for (std::size_t k = 0; k < step.added.size() && k < step.removed.size(); ++k)
        if (step.added[k].name == step.focus)
            return step.removed[k].name;
    return step.focus;
}

void undoStep(const EditStep& step, RomImage& rom, ImageState& state)
{
    applyStep(step, false, rom, state);
}

void redoStep(const EditStep& step, RomImage& rom, ImageState& state)
{
    applyStep(step, true, rom, state);
}

void mergeByteSteps(EditStep& step, const EditStep& next)
{
    std::map<std::int32_t, std::pair<std::uint8_t, std::uint8_t>> bytes;  // address: before, after
    auto walk = [](const EditStep& s, auto visit) {
        std::size_t from = 0;
        for (const EditStep::ByteRun& run : s.runs)
            for (std::int32_t k = 0; k < run.length; ++k, ++from)
                visit(run.address + k, s.bytesBefore[from], s.bytesAfter[from]);
    };
    walk(step, [&](std::int32_t at, std::uint8_t before, std::uint8_t after) { bytes[at] = {before, after}; });
    walk(next, [&](std::int32_t at, std::uint8_t before, std::uint8_t after) {
        const auto [found, added] = bytes.try_emplace(at, before, after);
        if (!added)
            found->second.second = after;
    });
    step.runs.clear();
    step.bytesBefore.clear();
    step.bytesAfter.clear();
    for (const auto& [at, change] : bytes) {
        if (change.first == change.second)
            continue;
        if (step.runs.empty() || step.runs.back().address + step.runs.back().length != at)
            step.runs.push_back({at, 0});
        ++step.runs.back().length;
        step.bytesBefore.push_back(change.first);
        step.bytesAfter.push_back(change.second);
    }
}

}  // namespace tavo
