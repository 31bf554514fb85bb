#include "cli/CliSupport.h"

#include <ostream>

#include "cli/CliPrompts.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "tables/TableLookup.h"

namespace tavo {

namespace {
const std::set<std::string> kFlags = {"--json", "--write"};
const std::set<std::string> kValueOptions = {"--to",     "--png",  "--compare",   "--x",          "--y",
                                             "--device", "--base", "--count", "--low-speed", "--high-speed"};
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

void requireWords(const Arguments& args, std::size_t count)
{
    if (args.words.size() != count)
        throw UsageError{"wrong number of arguments"};
}

std::unique_ptr<RomImage> loadImage(const std::string& path, std::ostream& err)
{
    if (!fileExists(path)) {
        err << "tavo-cli: no such image file: " << path << '\n';
        return nullptr;
    }
    const std::string tbl = tablePathFor(path);
    if (!fileExists(tbl)) {
        err << "tavo-cli: no table definition file beside the image: " << tbl
            << "\n(TaVO creates one when it first opens the image)\n";
        return nullptr;
    }
    auto rom = std::make_unique<RomImage>();
    CliPrompts prompts;
    const LoadOutcome outcome = loadRomImageFrom(*rom, path, prompts);
    for (const std::string& message : prompts.messages())
        err << message << (message.empty() || message.back() != '\n' ? "\n" : "");
    if (outcome != LoadOutcome::Loaded)
        return nullptr;
    return rom;
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

}  // namespace tavo
