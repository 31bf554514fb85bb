// diff of two fuzzed image/definition pairs: tavo-cli diff A B (text and
// JSON) and the Quick Viewer's "Differences..." of a working image against
// a comparison image, each at its own load offset. Every differing byte of
// the common addresses is counted once, and lies in a definition that is
// listed with what changed or in a stretch outside every definition; the
// exit status says same, different or trouble; what is printed is safe for
// a terminal.
//
// Input: A's .tbl, A's image, B's .tbl, B's image, cut at kPartMarker (the
// images grown to the whole space when the input asks, see imageOf).
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>

#include "FuzzSupport.h"
#include "cli/CliCommands.h"
#include "rom/RomImage.h"
#include "viewer/ImageDiff.h"

using namespace tavo;

namespace {

void checkDifference(const RomImage& a, const ImageBuffer& b, AddressRange common, const ImageDifference& found)
{
    // The addresses the listing accounts for: its stretches and the bytes
    // of the definitions it lists, in either image.
    static std::vector<bool> accounted;
    accounted.assign(kAddressSpace, false);
    auto account = [](AddressRange range) {
        for (long at = std::max(range.first, 0L); at <= range.last && at <= kLastAddress; ++at)
            accounted[static_cast<std::size_t>(at)] = true;
    };
    for (std::size_t i = 0; i < found.outside.size(); ++i) {
        const AddressRange& range = found.outside[i];
        FUZZ_CHECK(!range.empty() && common.contains(range.first) && common.contains(range.last));
        FUZZ_CHECK(i == 0 || found.outside[i - 1].last + 1 < range.first);
        account(range);
    }
    for (const DefinitionDifference& listed : found.definitions) {
        FUZZ_CHECK(listed.index >= 0 && listed.index < a.entryCount);
        const TableDef& def = a.tables[static_cast<std::size_t>(listed.index)];
        const AddressRange inA = definitionBytes(a.image, def);
        const AddressRange inB = definitionBytes(b, def);
        account({inA.first, std::max(inA.last, inB.last)});
        const std::vector<std::string> lines = changeLines(def, listed);
        if (lines.empty())
            std::fprintf(stderr, "entry %d (type %d at %04x) listed without a change: rows %d and %d, common %04lx-%04lx\n",
                         listed.index, static_cast<int>(def.type), def.offset, listed.rowsA, listed.rowsB, common.first,
                         common.last);
        FUZZ_CHECK(!lines.empty());
        const std::string summary = changeSummary(def, listed);
        FUZZ_CHECK(lines.size() == 1 ? summary == lines.front() : summary.find(" differ") != std::string::npos);
    }
    long differing = 0;
    for (long at = common.first; at <= common.last; ++at) {
        const auto k = static_cast<std::size_t>(at);
        if (a.image[k] == b[k])
            continue;
        ++differing;
        FUZZ_CHECK(accounted[k]);
    }
    FUZZ_CHECK(found.bytesChanged == differing);
    differenceHeadline(found);
}

int runDiff(const std::vector<std::string>& args, std::string& printed)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err);
    printed = out.str() + err.str();
    FUZZ_CHECK(fuzz::terminalSafe(printed));
    return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzz::bytesOf(data, size);
    const auto parts = fuzz::inputParts(input, 4);
    static std::string grownA;
    static std::string grownB;
    const std::string_view imageA = fuzz::imageOf(parts[1], input, grownA);
    const std::string_view imageB = fuzz::imageOf(parts[3], input, grownB);
    static RomImage recordA;
    static RomImage recordB;
    const fuzz::ResetOnExit doneA(recordA);
    const fuzz::ResetOnExit doneB(recordB);
    const RomImage* const a = fuzz::loadScratchImage(recordA, "a", parts[0], imageA) ? &recordA : nullptr;
    const RomImage* const b = fuzz::loadScratchImage(recordB, "b", parts[2], imageB) ? &recordB : nullptr;
    const std::string pathA = fuzz::scratchFolder() + "/a.bin";
    const std::string pathB = fuzz::scratchFolder() + "/b.bin";

    // Text, or JSON for an input of odd length.
    std::vector<std::string> line = {"diff", pathA, pathB};
    if (size % 2 == 1)
        line.emplace_back("--json");
    std::string printed;
    const int status = runDiff(line, printed);
    const bool trouble = !a || imageB.size() > kAddressSpace;
    FUZZ_CHECK((status == 2) == trouble);
    if (!a)
        return 0;

    // What the command compared: B's bytes at A's load offset.
    if (!trouble) {
        auto bytesB = std::make_unique<ImageBuffer>();
        const AddressRange heldByB = imageAddresses(a->loadOffset, static_cast<long>(imageB.size()));
        for (long at = heldByB.first; at <= heldByB.last; ++at)
            (*bytesB)[static_cast<std::size_t>(at)] =
                static_cast<std::uint8_t>(imageB[static_cast<std::size_t>(at - heldByB.first)]);
        const AddressRange common = intersect(imageAddresses(a->loadOffset, a->imageSize), heldByB);
        const ImageDifference found =
            compareImages(*a, *bytesB, common, a->imageSize, static_cast<long>(imageB.size()));
        checkDifference(*a, *bytesB, common, found);
        FUZZ_CHECK((status == 0) == found.same());
    }
    if (b) {
        const ImageDifference found = compareWithComparison(*a, *b);
        const AddressRange common =
            intersect(imageAddresses(a->loadOffset, a->imageSize), imageAddresses(b->loadOffset, b->imageSize));
        checkDifference(*a, b->image, common, found);
    }
    return 0;
}
