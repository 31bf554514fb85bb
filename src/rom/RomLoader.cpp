#include "rom/RomLoader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "rom/EditStep.h"
#include "rom/RomImage.h"
#include "rom/RomMessages.h"
#include "rom/RomPrompts.h"
#include "tables/TableFileReader.h"

namespace tavo {

std::string tablePathFor(std::string_view romPath)
{
    const std::size_t slash = romPath.find_last_of("\\/");
    const std::size_t dot = romPath.find_last_of('.');
    const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    std::string path(hasExtension ? romPath.substr(0, dot) : romPath);
    path += ".tbl";
    return path;
}

LoadOutcome loadRomImage(RomImage& rom, RomPrompts& prompts)
{
    const auto chosen = prompts.chooseFileToOpen(
        {"Select Rom Image", "Rom Image Files", "*.bin", rom.romPath});
    if (!chosen)
        return LoadOutcome::Cancelled;
    return loadRomImageFrom(rom, *chosen, prompts);
}

LoadOutcome loadRomImageFrom(RomImage& rom, const std::string& path, RomPrompts& prompts)
{
    // Everything the load changes before the image file is accepted, kept so
    // that a refused file leaves the record exactly as it was. The bytes are
    // placed only once the file is accepted, and the definition slots the
    // reader fills come back from its result, so neither is copied here.
    const RomInformationState information = romInformationOf(rom);
    const std::int32_t entryCount = rom.entryCount;
    std::string romPath = rom.romPath;
    std::string tblPath = rom.tblPath;
    std::string storedDefinitions = rom.storedDefinitions;
    // The main window may have shown the new path while a dialog of the load
    // was open: it is repainted with the path the record keeps.
    auto restore = [&](std::vector<TableDef>&& displacedSlots = {}) {
        // Swapped, so the refused entries leave with the vector, buffers and all.
        for (std::size_t slot = 0; slot < displacedSlots.size(); ++slot)
            std::swap(rom.tables[slot], displacedSlots[slot]);
        applyRomInformation(rom, information);
        rom.entryCount = entryCount;
        rom.romPath = std::move(romPath);
        rom.tblPath = std::move(tblPath);
        rom.storedDefinitions = std::move(storedDefinitions);
        prompts.repaint();
    };
    auto refuse = [&](const std::string& message, std::vector<TableDef>&& displacedSlots = {}) {
        restore(std::move(displacedSlots));
        prompts.showMessage(message, "TaVO Error", MessageIcon::Warning);
        return LoadOutcome::Refused;
    };

    // The image is read first: a name that cannot be opened, or a file too
    // large to be an image, is refused before anything is asked or written.
    const FileContent content = readWholeFile(path, kAddressSpace);
    if (content.status.problem() == FileStatus::Problem::TooLarge)
        return refuse(kRomTooLarge);
    if (!content.status)
        return refuse(kUnableToOpenRom + path + "\n" + content.status.reason());

    // Paths are kept whole, however long: a cut path would name another file.
    rom.romPath = path;
    rom.tblPath = tablePathFor(path);
    // The definitions come next: they give the offset the image is placed at.
    TableReadResult definitions = readTableFile(rom, prompts);
    if (definitions.refused) {
        restore();  // the reader has said why
        return LoadOutcome::Refused;
    }
    if (definitions.cancelled) {
        // Cancel in the ROM information step of a new image cancels the load.
        restore();
        return LoadOutcome::Cancelled;
    }
    if (static_cast<std::uintmax_t>(rom.loadOffset) + content.size > kAddressSpace || rom.loadOffset < 0) {
        // A definition file made for this load goes with it.
        if (!definitions.fileFound)
            removeFile(rom.tblPath);
        return refuse(kRomLocationWrong, std::move(definitions.displacedSlots));
    }

    // Bytes outside the new image keep what they held: only its range is replaced.
    rom.imageSize = static_cast<std::int32_t>(content.size);
    std::copy(content.bytes.begin(), content.bytes.end(),
              rom.image.begin() + rom.loadOffset);
    bindTables(rom);
    rom.loaded = true;
    prompts.repaint();
    return LoadOutcome::Loaded;
}

}  // namespace tavo
