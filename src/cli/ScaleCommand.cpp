#include <charconv>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/CliSupport.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "rom/RomSaver.h"
#include "tables/TableScaling.h"

namespace tavo {

namespace {

// A percentage on the command line: the whole word is a decimal number of 0
// or more, optionally followed by '%'. Unlike the dialog's edit, trailing
// text is refused, so a mistyped "15O" never scales by 15%.
float percentageOption(const Arguments& args, const std::string& name)
{
    const auto text = args.option(name);
    if (!text)
        throw UsageError{"scale needs --x PCT and --y PCT"};
    std::string_view word = *text;
    if (!word.empty() && word.back() == '%')
        word.remove_suffix(1);
    if (!word.empty() && word.front() == '+')
        word.remove_prefix(1);
    float value = 0.0F;
    const auto [end, error] =
        std::from_chars(word.data(), word.data() + word.size(), value, std::chars_format::general);
    if (word.empty() || error != std::errc{} || end != word.data() + word.size() ||
        !isUsablePercentage(value))
        throw UsageError{name + " wants a percentage of 0 or more, not " + *text};
    return value;
}

// Whether every byte that differs between the two images lies in the image
// file's range, the only bytes a save writes.
bool changesInsideFile(const ImageBuffer& before, const ImageBuffer& after, const RomImage& rom)
{
    for (std::size_t a = 0; a < kAddressSpace; ++a) {
        if (before[a] == after[a])
            continue;
        const auto address = static_cast<long>(a);
        if (address < rom.loadOffset || address >= static_cast<long>(rom.loadOffset) + rom.imageSize)
            return false;
    }
    return true;
}

}  // namespace

int cmdScale(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const float xPercent = percentageOption(args, "--x");
    const float yPercent = percentageOption(args, "--y");
    std::unique_ptr<RomImage> rom;
    TableDef* entry = loadEntry(rom, args, err);
    if (!entry)
        return 1;
    TableDef& def = *entry;
    if (!isGraphType(def.type)) {
        err << "tavo-cli: " << terminalText(args.words[1]) << " is a " << tableTypeName(def.type)
            << " entry; only Normal, FiveByte and Signed tables can be scaled (nothing written)\n";
        return 1;
    }

    auto scaled = std::make_unique<ImageBuffer>(rom->image);
    scaleTable(*scaled, def, xPercent, yPercent);
    if (!changesInsideFile(rom->image, *scaled, *rom)) {
        err << "tavo-cli: the table at " << hexLower(static_cast<std::uint32_t>(def.offset), 4, '0')
            << " reaches beyond the image file's bytes; nothing written\n";
        return 1;
    }
    rom->image = *scaled;
    // The file that was read, whatever length of path the record keeps.
    const std::string& path = args.words[0];
    if (const FileStatus written = writeFileAtomically(path, imageFileBytes(*rom)); !written) {
        err << "tavo-cli: unable to write the image file: " << terminalText(path) << ": " << written.reason()
            << '\n';
        return 1;
    }
    out << "scaled " << terminalText(def.chryslerName) << " (" << terminalText(def.name) << ", "
        << tableTypeName(def.type) << " at " << hexLower(static_cast<std::uint32_t>(def.offset), 4, '0')
        << ") by X " << percentageText(xPercent) << "% and Y " << percentageText(yPercent)
        << "%; wrote " << terminalText(path) << '\n';
    return 0;
}

}  // namespace tavo
