#include "rom/RomInformation.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "rom/RomMessages.h"
#include "rom/RomPrompts.h"
#include "tables/TableFileReader.h"
#include "tables/TableFileWriter.h"

namespace tavo {

RomInformationForm romInformationForm(const RomImage& rom)
{
    RomInformationForm form;
    form.offset = hexLower(static_cast<std::uint32_t>(rom.loadOffset & 0xFFFF), 4, '0');
    form.description = rom.description;
    form.author = rom.author;
    form.injectors = formatFixed(rom.injectors, 1, 2);
    form.boost = formatFixed(rom.boost, 1, 2);
    form.mapRange = rom.mapRange == kMap2Bar || rom.mapRange == kMap25Bar || rom.mapRange == kMap3Bar
                        ? rom.mapRange
                        : 0;
    return form;
}

void applyRomInformationForm(RomImage& rom, const RomInformationForm& form)
{
    // A text left as it was shown keeps its value exactly: "%2.1f" shows
    // 33.25 as 33.3, and OK without edits must not store that.
    const RomInformationForm shown = romInformationForm(rom);
    if (form.offset != shown.offset) {
        if (const auto offset = parseHexPrefix(cutToWidth(form.offset, 128), 4))
            rom.loadOffset = static_cast<std::int32_t>(*offset);
    }
    if (form.description != rom.description)
        rom.description = cutToWidth(form.description, width::romText);
    if (form.author != rom.author)
        rom.author = cutToWidth(form.author, width::romText);
    if (form.injectors != shown.injectors) {
        if (const auto injectors = parseFloatPrefix(form.injectors))
            rom.injectors = *injectors;
    }
    if (form.boost != shown.boost) {
        if (const auto boost = parseFloatPrefix(form.boost))
            rom.boost = *boost;
    }
    if (form.mapRange == kMap2Bar || form.mapRange == kMap25Bar || form.mapRange == kMap3Bar)
        rom.mapRange = form.mapRange;
}

void acceptRomInformation(RomImage& rom, const RomInformationForm& form, UserPrompts& prompts)
{
    applyRomInformationForm(rom, form);
    storeTableFile(rom, prompts);
}

void editRomInformation(RomImage& rom, RomPrompts& prompts)
{
    const std::int32_t previousOffset = rom.loadOffset;
    prompts.runRomInformation(rom);
    if (rom.loadOffset == previousOffset)
        return;
    if (rom.loaded && static_cast<long>(rom.loadOffset) + rom.imageSize > static_cast<long>(kAddressSpace)) {
        // The image would run past 0xFFFF at this offset: keep the old one.
        rom.loadOffset = previousOffset;
        storeTableFile(rom, prompts);
        prompts.showMessage(kRomLocationWrong, "TaVO Error", MessageIcon::Warning);
        return;
    }
    if (prompts.ask("Do you wish to move this image now?", "Offset Changed", QuestionButtons::YesNo) !=
        Answer::Yes)
        return;
    relocateImage(rom, previousOffset, prompts);
}

void relocateImage(RomImage& rom, std::int32_t fromOffset, RomPrompts& prompts)
{
    // The definitions are stored with the new offset and taken back from the
    // file; when they cannot be stored the record already holds them.
    if (storeTableFile(rom, prompts))
        readTableFile(rom, prompts);
    // The bytes held are moved, edits since the last save included; the image
    // file is not read again, and the rest of the space is cleared.
    auto placeOf = [&](std::int32_t offset) {
        const auto start = static_cast<std::size_t>(std::clamp<long>(offset, 0, static_cast<long>(kAddressSpace)));
        const auto size = static_cast<std::size_t>(std::max(rom.imageSize, 0));
        return std::pair{start, std::min(size, kAddressSpace - start)};
    };
    const auto [from, available] = placeOf(fromOffset);
    const auto [to, room] = placeOf(rom.loadOffset);
    const std::vector<std::uint8_t> bytes(rom.image.begin() + from, rom.image.begin() + from + std::min(available, room));
    rom.image.fill(0);
    std::copy(bytes.begin(), bytes.end(), rom.image.begin() + to);
}

}  // namespace tavo
