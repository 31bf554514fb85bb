#pragma once
// One undoable step: what a user action changed in a ROM image, found by
// comparing the image before and after it. The bytes that differ, the ROM
// information and the run of definitions that changed are kept, each as it
// was before and after, so the step can be taken back and done again.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tables/TableDef.h"

namespace tavo {

struct RomImage;

// The ROM information of an image: what the .tbl file's header holds.
struct RomInformationState {
    std::int32_t loadOffset = 0;
    std::string description;
    std::string author;
    std::string checksumName;
    std::uint32_t checksumA = 0;
    std::uint32_t checksumB = 0;
    std::uint32_t crc32 = 0;
    std::string dcalVersion;
    std::int32_t mapRange = 0;
    float injectors = 0.0F;
    float boost = 0.0F;
};

RomInformationState romInformationOf(const RomImage& rom);
void applyRomInformation(RomImage& rom, const RomInformationState& information);
// Field by field; the two numbers compare by their bits, so a value that is
// not a number still equals itself.
bool sameInformation(const RomInformationState& a, const RomInformationState& b);

// Two definitions hold the same stored fields: everything the .tbl file
// keeps. The image, array index and row count are bound from the image and
// do not count.
bool sameDefinition(const TableDef& a, const TableDef& b);

// The state a step is taken against: the bytes, the ROM information and the
// definitions in use, in array order.
struct ImageState {
    ImageBuffer bytes{};
    RomInformationState information;
    std::vector<TableDef> entries;

    static std::unique_ptr<ImageState> of(const RomImage& rom);
};

struct EditStep {
    std::string name;   // "Drag Point": the menu offers "Undo Drag Point"
    std::string focus;  // the name of the definition shown when the step was made
    std::uint64_t mergeKey = 0;

    // Addresses whose bytes changed, joined into runs; the runs' bytes before
    // and after the step, one run after another.
    struct ByteRun {
        std::int32_t address = 0;
        std::int32_t length = 0;
    };
    std::vector<ByteRun> runs;
    std::vector<std::uint8_t> bytesBefore;
    std::vector<std::uint8_t> bytesAfter;

    // The ROM information before and after, when the step changed it (kept
    // apart: most steps do not, and a step should stay small).
    struct InformationChange {
        RomInformationState before;
        RomInformationState after;
    };
    std::unique_ptr<InformationChange> information;

    // The definitions [first, first + removed.size()) of the array before the
    // step were replaced by `added`.
    bool definitionsChanged = false;
    int first = 0;
    std::vector<TableDef> removed;
    std::vector<TableDef> added;

    bool changesBytes() const { return !runs.empty(); }
    // The definitions or the ROM information: what the .tbl file holds.
    bool changesDefinitions() const { return definitionsChanged || information != nullptr; }
    bool empty() const { return !changesBytes() && !changesDefinitions(); }
    // The memory the step holds, its own size included.
    std::size_t memoryUsed() const;
};

// What changed from `before` to the image now. Nothing changed: an empty step.
EditStep diffImage(const ImageState& before, const RomImage& now);

// The name of the definition to show once the step has been taken back
// (undone) or done again: its focus, under the name it has on that side when
// the step renamed it.
std::string focusOf(const EditStep& step, bool undone);

// Takes a step back (undo) or does it again, in the image and in `state`,
// which mirrors the image. Definitions are found where the step left them, or,
// when their order has changed since (the Quick Viewer sorts the array
// itself), wherever they now are. The entries are bound again afterwards.
void undoStep(const EditStep& step, RomImage& rom, ImageState& state);
void redoStep(const EditStep& step, RomImage& rom, ImageState& state);

// Folds `next`, a later change of bytes only, into `step`: the bytes before
// are the earliest, the bytes after the latest. Addresses that end where
// they began drop out.
void mergeByteSteps(EditStep& step, const EditStep& next);

}  // namespace tavo
