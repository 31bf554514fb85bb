#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <fcntl.h>
#include <unistd.h>

#include "cli/CliPrompts.h"
#include "common/TextFormat.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"

namespace tavo::fuzz {

namespace {

std::string& scratchPath()
{
    static std::string path;
    return path;
}

void removeScratch()
{
    std::error_code ignored;
    if (!scratchPath().empty())
        std::filesystem::remove_all(scratchPath(), ignored);
}

}  // namespace

void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "\n== broken promise: %s (%s:%d)\n", what, file, line);
    std::fflush(stderr);
    std::abort();
}

std::vector<std::string_view> inputParts(std::string_view input, std::size_t count)
{
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t marker = input.find(kPartMarker);
        if (marker == std::string_view::npos)
            break;
        parts.push_back(input.substr(0, marker));
        input.remove_prefix(marker + kPartMarker.size());
    }
    parts.push_back(input);
    parts.resize(count);
    return parts;
}

std::vector<std::string> nulSeparatedWords(std::string_view text)
{
    std::vector<std::string> words;
    if (text.empty())
        return words;
    std::size_t start = 0;
    for (;;) {
        const std::size_t nul = text.find('\0', start);
        words.emplace_back(text.substr(start, nul == std::string_view::npos ? std::string_view::npos : nul - start));
        if (nul == std::string_view::npos)
            return words;
        start = nul + 1;
    }
}

const std::string& scratchFolder()
{
    std::string& path = scratchPath();
    if (path.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string base = tmp && *tmp ? tmp : "/tmp";
        std::error_code error;
        if (!(tmp && *tmp) && std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0)
            base = "/dev/shm";
        std::string pattern = base + "/tavo-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            fail("a scratch folder could be made", __FILE__, __LINE__);
        path = pattern;
        std::atexit(removeScratch);
    }
    return path;
}

InScratchFolder::InScratchFolder() : previous_(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (previous_ < 0 || ::chdir(scratchFolder().c_str()) != 0)
        fail("the scratch folder became the current directory", __FILE__, __LINE__);
}

InScratchFolder::~InScratchFolder()
{
    if (::fchdir(previous_) != 0)
        fail("the current directory came back", __FILE__, __LINE__);
    ::close(previous_);
}

std::string scratchFile(const std::string& name, std::string_view bytes)
{
    const std::string path = scratchFolder() + "/" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush())
        fail("a scratch file could be written", __FILE__, __LINE__);
    return path;
}

std::string_view imageOf(std::string_view part, std::string_view input, std::string& buffer)
{
    if (input.size() < 2 || static_cast<unsigned char>(input.back()) % 32 != 7)
        return part;
    const std::size_t size = kAddressSpace + (static_cast<unsigned char>(input[input.size() - 2]) % 2);
    buffer.assign(size, '\0');
    for (std::size_t at = 0; !part.empty() && at < size; at += part.size())
        buffer.replace(at, std::min(part.size(), size - at), part.substr(0, size - at));
    return buffer;
}

namespace {

int entriesInUse(const RomImage& rom)
{
    return std::clamp(rom.entryCount, 0, kTableCapacity);
}

// In the replay build: the entries above the count are as new.
void checkUnusedEntries([[maybe_unused]] const RomImage& rom)
{
#ifdef TAVO_FUZZ_REPLAY
    for (std::size_t i = static_cast<std::size_t>(entriesInUse(rom)); i < rom.tables.size(); ++i)
        if (!(rom.tables[i] == TableDef{}))
            fail("the entries above the count are as new", __FILE__, __LINE__);
#endif
}

// Every field of a record but its entries (`from` has none, or lends them
// out while its other fields are copied).
void copyFields(RomImage& to, RomImageFields& from)
{
    std::vector<TableDef> kept;
    std::vector<TableDef> lent;
    kept.swap(to.tables);
    lent.swap(from.tables);
    static_cast<RomImageFields&>(to) = from;
    from.tables.swap(lent);
    to.tables.swap(kept);
}

}  // namespace

void resetRecord(RomImage& rom)
{
    static RomImageFields pristine = [] {
        RomImageFields fields;
        fields.tables.clear();
        return fields;
    }();
    checkUnusedEntries(rom);
    // A string assigned an empty one keeps its buffer; one moved from gives
    // it up, and the buffer goes with the string it was moved into.
    for (int i = 0; i < entriesInUse(rom); ++i) {
        TableDef& def = rom.tables[static_cast<std::size_t>(i)];
        [[maybe_unused]] const TableDef released = std::move(def);
        def = TableDef{};
    }
    for (std::string* text : {&rom.description, &rom.author, &rom.checksumName, &rom.dcalVersion, &rom.romPath,
                              &rom.tblPath, &rom.storedDefinitions}) {
        [[maybe_unused]] const std::string released = std::move(*text);
    }
    copyFields(rom, pristine);
}

void copyRecord(RomImage& to, RomImage& from)
{
    if (&to == &from)
        return;
    checkUnusedEntries(to);
    checkUnusedEntries(from);
    const int entries = std::max(entriesInUse(to), entriesInUse(from));
    copyFields(to, from);
    for (int i = 0; i < entries; ++i) {
        TableDef& def = to.tables[static_cast<std::size_t>(i)];
        def = from.tables[static_cast<std::size_t>(i)];
        if (def.image == &from.image)
            def.image = &to.image;
    }
}

bool loadScratchImage(RomImage& rom, const std::string& name, std::string_view tbl, std::string_view image)
{
    scratchFile(name + ".tbl", tbl);
    const std::string path = scratchFile(name + ".bin", image);
    resetRecord(rom);
    std::ostringstream said;
    CliPrompts prompts(said);
    return loadRomImageFrom(rom, path, prompts) == LoadOutcome::Loaded;
}

bool terminalSafe(std::string_view text)
{
    if (!isValidUtf8(text))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F)
            return false;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F)
            return false;
    }
    return true;
}

}  // namespace tavo::fuzz
