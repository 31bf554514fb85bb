// tavo-cli's command line, in process: every command with fuzzed words,
// options and flags (the input's NUL-separated words), run in a folder of
// this process's own that holds the sample calibration, a log, its CSV and
// Logging.cfg (see FuzzSamples.h). A word cannot leave that folder: a '/' in
// it becomes '_'. Whatever the line, the exit status is 0, 1 or 2 and
// everything printed is safe for a terminal; the folder is put back as it
// was after each line.
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <sys/stat.h>

#include "FuzzSamples.h"
#include "FuzzSupport.h"
#include "cli/CliCommands.h"
#include "common/AtomicFile.h"
#include "tables/TableDef.h"

using namespace tavo;

namespace {

struct FixtureFile {
    std::string bytes;
    struct stat written {};  // as last written: any change since shows in it
};

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_ino == b.st_ino && a.st_size == b.st_size && a.st_mode == b.st_mode &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// The fixture files; made once, in the scratch folder.
std::map<std::string, FixtureFile>& fixture()
{
    static std::map<std::string, FixtureFile> files = [] {
        const std::string& folder = fuzz::scratchFolder();
        if (!fuzz::writeFixtureFiles(folder))
            fuzz::fail("the fixture could be made", __FILE__, __LINE__);
        std::map<std::string, FixtureFile> made;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            FixtureFile& file = made[entry.path().filename().string()];
            const FileContent content = readWholeFile(entry.path().string(), 1 << 20);
            file.bytes.assign(content.bytes.begin(), content.bytes.end());
            ::lstat(entry.path().c_str(), &file.written);
        }
        return made;
    }();
    return files;
}

// Whatever a command wrote, changed or removed is put back.
void restoreFixture()
{
    auto& files = fixture();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(fuzz::scratchFolder())) {
        if (files.count(entry.path().filename().string()) == 0)
            std::filesystem::remove_all(entry.path(), error);
    }
    for (auto& [name, file] : files) {
        const std::string path = fuzz::scratchFolder() + "/" + name;
        struct stat now {};
        if (::lstat(path.c_str(), &now) == 0 && S_ISREG(now.st_mode) && sameFile(now, file.written))
            continue;
        std::filesystem::remove_all(path, error);
        fuzz::scratchFile(name, file.bytes);
        ::lstat(path.c_str(), &file.written);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fixture();
    std::vector<std::string> words = fuzz::nulSeparatedWords(fuzz::bytesOf(data, size));
    for (std::string& word : words)
        std::replace(word.begin(), word.end(), '/', '_');

    std::ostringstream out;
    std::ostringstream err;
    int status = 0;
    {
        const fuzz::InScratchFolder here;
        status = runCli(words, out, err);
    }
    FUZZ_CHECK(status >= 0 && status <= 2);
    FUZZ_CHECK(fuzz::terminalSafe(out.str()));
    FUZZ_CHECK(fuzz::terminalSafe(err.str()));
    restoreFixture();
    return 0;
}
