#pragma once
// What every fuzz target shares: the check that turns a broken promise into
// a finding, cutting an input into the pieces a target needs, a private
// folder for the files a target reads through the real file layer, and
// loading an image with its .tbl the way TaVO does.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {
struct RomImage;
}

namespace tavo::fuzz {

// In the replay build (ctest) every input takes every check: the fuzz build
// leaves the costliest to the inputs that ask for them.
#ifdef TAVO_FUZZ_REPLAY
inline constexpr bool kReplaying = true;
#else
inline constexpr bool kReplaying = false;
#endif

// A broken promise is a finding like a crash: it is said on stderr and the
// process aborts, so libFuzzer keeps the input and a replay test fails.
[[noreturn]] void fail(const char* what, const char* file, int line);
#define FUZZ_CHECK(condition) ((condition) ? void(0) : ::tavo::fuzz::fail(#condition, __FILE__, __LINE__))

// Several files in one input are cut at this line; the dictionaries know it.
inline constexpr std::string_view kPartMarker = "\n--8<--\n";

// The input cut at its first count - 1 markers; parts it lacks are empty.
std::vector<std::string_view> inputParts(std::string_view input, std::size_t count);

// Command-line words: the text cut at NUL bytes (a word holds none), an
// empty text giving no word at all.
std::vector<std::string> nulSeparatedWords(std::string_view text);

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process's own, made on first use (in memory where the
// system offers /dev/shm) and removed when the process ends normally.
const std::string& scratchFolder();
// While it lives, the scratch folder is the current directory (a fuzzer
// reads its corpus by the paths it was given, relative ones too).
class InScratchFolder {
public:
    InScratchFolder();
    ~InScratchFolder();
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;

private:
    int previous_;
};

// Writes `bytes` as `name` in the scratch folder and returns its path.
std::string scratchFile(const std::string& name, std::string_view bytes);

// Images as large as the 64 KiB space cost a fuzzer much and tell it little,
// so scripts/fuzz.sh keeps the inputs of the image targets short and an input
// asks for a large image by its last byte (7 modulo 32; whether one byte too
// large by the byte before it): then its image part is repeated (zeros for an
// empty one) to fill the space, or one byte beyond it. Otherwise the part is
// taken as it is.
std::string_view imageOf(std::string_view part, std::string_view input, std::string& buffer);

// A record as a new one is. Targets keep their records for the whole run and
// reset them for each input: under AddressSanitizer a record's 514
// definitions are too large to be allocated afresh every time, which would
// cost more than the work on them. Only the entries in use are made new:
// what fills a record (the .tbl reader, the loader, the ROM scan) writes no
// entry above the count it leaves, so those are still as new. The replay
// build checks that it holds.
// The strings the record held are freed, not just emptied (see ResetOnExit).
void resetRecord(RomImage& rom);

// Resets a record kept for the whole run when an input is done with it.
// libFuzzer runs an input once more, and may scan the whole heap for leaks,
// whenever the input allocated more than it freed: strings an input left in a
// kept record would make nearly every input look so, and cost a third of the
// run.
class ResetOnExit {
public:
    explicit ResetOnExit(RomImage& rom) : rom_(rom) {}
    ~ResetOnExit() { resetRecord(rom_); }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    RomImage& rom_;
};

// `to = from`, copying only the entries in use of either (see resetRecord);
// `from` ends as it was.
void copyRecord(RomImage& to, RomImage& from);

// An image file and its .tbl, written as `name`.bin and `name`.tbl in the
// scratch folder and loaded into the reset record as TaVO loads them; false
// when the loader refused them (it has said why, into nowhere).
bool loadScratchImage(RomImage& rom, const std::string& name, std::string_view tbl, std::string_view image);

// Everything printed is safe for a terminal: valid UTF-8 without control
// characters (C0 but tab and line feed, DEL, C1).
bool terminalSafe(std::string_view text);

}  // namespace tavo::fuzz
