#include "rom/RomSaver.h"

#include <algorithm>

#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "common/UserPrompts.h"
#include "rom/RomImage.h"
#include "rom/RomMessages.h"
#include "tables/TableFileWriter.h"

namespace tavo {

SaveAsPaths saveAsPathsFor(std::string_view chosen)
{
    // Search back from the last character for a "." or a path separator.
    std::size_t stop = std::string_view::npos;
    for (std::size_t i = chosen.size(); i-- > 0;) {
        const char c = chosen[i];
        if (c == '.' || c == '\\' || c == '/') {
            stop = i;
            break;
        }
    }
    SaveAsPaths paths;
    if (stop != std::string_view::npos && chosen[stop] == '.') {
        paths.romPath = std::string(chosen);
        paths.tblPath = std::string(chosen.substr(0, stop)) + ".tbl";
    } else {
        paths.romPath = std::string(chosen) + ".bin";
        paths.tblPath = std::string(chosen) + ".tbl";
    }
    return paths;
}

std::string imageFileBytes(const RomImage& rom)
{
    const long start = std::clamp<long>(rom.loadOffset, 0, static_cast<long>(kAddressSpace));
    const long end = std::clamp<long>(start + rom.imageSize, start, static_cast<long>(kAddressSpace));
    return std::string(reinterpret_cast<const char*>(rom.image.data()) + start,
                       static_cast<std::size_t>(end - start));
}

namespace {

bool writeImage(const RomImage& rom, UserPrompts& prompts)
{
    const bool fits = rom.loadOffset >= 0 && rom.imageSize >= 0 &&
                      static_cast<long>(rom.loadOffset) + rom.imageSize <= static_cast<long>(kAddressSpace);
    if (!fits) {
        prompts.showMessage(kRomNotSaved + rom.romPath + "\nThe image does not fit at its load offset.",
                            "TaVO Error", MessageIcon::Warning);
        return false;
    }
    const FileStatus written = writeFileAtomically(rom.romPath, imageFileBytes(rom));
    if (written)
        return true;
    prompts.showMessage(kRomNotSaved + rom.romPath + "\n" + written.reason(), "TaVO Error",
                        MessageIcon::Warning);
    return false;
}

}  // namespace

bool saveRomImage(RomImage& rom, UserPrompts& prompts)
{
    if (!rom.loaded)
        return false;
    if (!writeImage(rom, prompts))
        return false;
    prompts.showMessage(kRomSaved, "Tavo", MessageIcon::Information);
    return true;
}

bool saveRomImageAs(RomImage& rom, UserPrompts& prompts)
{
    if (!rom.loaded)
        return false;
    const auto chosen = prompts.chooseFileToSave(
        {"Save Rom Image As...", "Rom Image Files", "*.bin", rom.romPath});
    if (!chosen)
        return false;
    const SaveAsPaths paths = saveAsPathsFor(*chosen);
    const std::string previousRom = rom.romPath;
    const std::string previousTbl = rom.tblPath;
    const std::string previousStored = rom.storedDefinitions;
    rom.romPath = paths.romPath;
    rom.tblPath = paths.tblPath;
    if (storeTableFile(rom, prompts) && writeImage(rom, prompts))
        return true;
    // The old paths again, with what their .tbl file holds.
    rom.romPath = previousRom;
    rom.tblPath = previousTbl;
    rom.storedDefinitions = previousStored;
    return false;
}

}  // namespace tavo
