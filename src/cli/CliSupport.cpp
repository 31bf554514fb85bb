#include "cli/CliSupport.h"

#include <algorithm>
#include <charconv>
#include <ostream>

#include "cli/CliPrompts.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "logging/LoggingConfig.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "tables/TableLookup.h"

namespace tavo {

namespace {
const std::set<std::string> kFlags = {"--json", "--write", "--smoothing"};
const std::set<std::string> kValueOptions = {
    "--to",   "--png",      "--compare", "--x",      "--y",      "--device", "--base",   "--count", "--low-speed",
    "--high-speed", "--ticks", "--seconds", "--period-ms", "--channels", "--channel", "--custom", "--config", "--out"};
}  // namespace

std::optional<std::string> Arguments::option(const std::string& name) const
{
    const auto found = options.find(name);
    if (found == options.end())
        return std::nullopt;
    return found->second;
}

Arguments Arguments::parse(const std::vector<std::string>& args, std::size_t from)
{
    Arguments parsed;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (kFlags.count(arg)) {
            parsed.flags.insert(arg);
        } else if (kValueOptions.count(arg)) {
            if (i + 1 >= args.size())
                throw UsageError{arg + " needs a value"};
            parsed.options[arg] = args[++i];
        } else if (arg.rfind("--", 0) == 0) {
            throw UsageError{"unknown option " + arg};
        } else {
            parsed.words.push_back(arg);
        }
    }
    return parsed;
}

std::int64_t wholeNumber(const Arguments& args, const std::string& name, std::int64_t fallback, std::int64_t minimum,
                         std::int64_t maximum)
{
    const auto text = args.option(name);
    if (!text)
        return fallback;
    std::int64_t value = 0;
    const char* end = text->data() + text->size();
    const auto [next, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || next != end || value < minimum || value > maximum)
        throw UsageError{name + " takes a whole number from " + std::to_string(minimum) + " to " +
                         std::to_string(maximum) + ": " + *text};
    return value;
}

bool readLoggingConfigFor(const Arguments& args, LoggingConfig& config, std::ostream& err)
{
    setLoggingDefaults(config);
    const std::string path = args.option("--config").value_or(kLoggingConfigFile);
    const FileContent content = readFileStart(path, kLoggingConfigSize);
    if (content.status.missing() && !args.option("--config"))
        return true;
    if (!content.status) {
        err << "tavo-cli: unable to read " << terminalText(path) << ": " << content.status.reason() << '\n';
        return false;
    }
    decodeLoggingConfig(config, std::string_view(reinterpret_cast<const char*>(content.bytes.data()),
                                                 content.bytes.size()));
    return true;
}

void requireWords(const Arguments& args, std::size_t count)
{
    if (args.words.size() != count)
        throw UsageError{"wrong number of arguments"};
}

std::unique_ptr<RomImage> loadImage(const std::string& path, std::ostream& err)
{
    if (fileMissing(path)) {
        err << "tavo-cli: no such image file: " << terminalText(path) << '\n';
        return nullptr;
    }
    // Only a .tbl that does not exist is missing; one that cannot be read is
    // refused by the loader with the reason.
    const std::string tbl = tablePathFor(path);
    if (fileMissing(tbl)) {
        err << "tavo-cli: no table definition file beside the image: " << terminalText(tbl)
            << "\n(TaVO creates one when it first opens the image)\n";
        return nullptr;
    }
    auto rom = std::make_unique<RomImage>();
    CliPrompts prompts(err);
    if (loadRomImageFrom(*rom, path, prompts) != LoadOutcome::Loaded)
        return nullptr;
    return rom;
}

namespace {

// The length of the valid UTF-8 sequence at text[i], or 0.
std::size_t utf8Length(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    return length;
}

}  // namespace

std::string terminalText(std::string_view text, bool keepLineBreaks)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\t' || (c == '\n' && keepLineBreaks)) {
            shown += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            shown += '^';
            shown += static_cast<char>(c ^ 0x40);  // ESC as ^[, DEL as ^?
        } else if (c >= 0x80) {
            const std::size_t length = utf8Length(text, i);
            // C1 controls: U+0080 to U+009F in UTF-8, or a lone byte 0x80 to
            // 0x9F that an 8-bit terminal would obey (0x9B starts a sequence).
            const bool c1 = length == 2 ? c == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F
                                        : length == 0 && c <= 0x9F;
            if (c1)
                shown += '?';
            else
                shown.append(text.substr(i, std::max<std::size_t>(length, 1)));
            i += std::max<std::size_t>(length, 1) - 1;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

int findEntry(const RomImage& rom, const std::string& key)
{
    if (const int index = findTableIndexOrNone(rom, key); index >= 0)
        return index;
    for (int i = 0; i < rom.entryCount; ++i)
        if (rom.tables[static_cast<std::size_t>(i)].name == key)
            return i;
    for (int i = 0; i < rom.entryCount; ++i)
        if (equalsIgnoreCase(rom.tables[static_cast<std::size_t>(i)].name, key))
            return i;
    return -1;
}

int findEntryOrSay(const RomImage& rom, const std::string& key, std::ostream& err)
{
    const int index = findEntry(rom, key);
    if (index < 0)
        err << "tavo-cli: no entry with the Chrysler name or title " << key << '\n';
    return index;
}

TableDef* loadEntry(std::unique_ptr<RomImage>& rom, const Arguments& args, std::ostream& err)
{
    rom = loadImage(args.words.at(0), err);
    if (!rom)
        return nullptr;
    const int index = findEntryOrSay(*rom, args.words.at(1), err);
    return index < 0 ? nullptr : &rom->tables[static_cast<std::size_t>(index)];
}

}  // namespace tavo
