// Kill -9 soak of the safe save: a child process saves an image file, a
// .tbl reached through a symbolic link, a graph PNG and a file with two hard
// links, over and over, and is killed with SIGKILL at a random moment. After
// every kill the files must each hold one complete version, the link must
// still be a link, the permission bits must be kept, and no temporary file
// may be left behind.
//
// usage: tavo_save_soak [KILLS] [FOLDER]     (1000 kills in a fresh folder under /tmp)

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "SampleCalibration.h"
#include "common/AtomicFile.h"
#include "rom/RomImage.h"
#include "tables/TableFileWriter.h"
#include "viewer/paint/GraphPng.h"

namespace fs = std::filesystem;
using namespace tavo;

namespace {

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The two versions of each file the child alternates between.
struct Versions {
    std::string image[2];
    std::string tbl[2];
    std::string png[2];
};

std::unique_ptr<RomImage> definitions(int version)
{
    auto rom = sample::makeSampleCalibration();
    if (version == 1)
        rom->entryCount -= 1;
    return rom;
}

// The saves, forever (or `rounds` times); one byte down the pipe after each
// completed round.
[[noreturn]] void saveForever(const fs::path& folder, const Versions& versions, int pipe, long rounds = -1)
{
    auto roms = std::make_unique<std::unique_ptr<RomImage>[]>(2);
    roms[0] = definitions(0);
    roms[1] = definitions(1);
    for (int version = 0;; version ^= 1) {
        RomImage& rom = *roms[static_cast<std::size_t>(version)];
        rom.tblPath = (folder / "cal.tbl").string();
        const bool saved = writeFileAtomically((folder / "cal.bin").string(), versions.image[version]).ok() &&
                           writeTableFile(rom).ok() &&
                           saveTableGraphPng((folder / "graph.png").string(), rom, version, nullptr).ok() &&
                           writeFileAtomically((folder / "linked" / "shared.bin").string(), versions.image[version]).ok();
        if (!saved)
            std::_Exit(3);
        const char done = 1;
        if (::write(pipe, &done, 1) != 1)
            std::_Exit(4);
        if (--rounds == 0)
            std::_Exit(0);
    }
}

// The PNG versions are drawn in a child of their own, so that this process
// never starts Qt before it forks.
bool drawPngVersions(const fs::path& scratch, Versions& versions)
{
    const pid_t child = ::fork();
    if (child == 0) {
        for (int version = 0; version < 2; ++version) {
            auto rom = definitions(version);
            if (!saveTableGraphPng((scratch / ("v" + std::to_string(version) + ".png")).string(), *rom, version,
                                   nullptr))
                std::_Exit(1);
        }
        std::_Exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;
    for (int version = 0; version < 2; ++version)
        versions.png[version] = readAll(scratch / ("v" + std::to_string(version) + ".png"));
    return true;
}

int countTemporaries(const fs::path& folder)
{
    int found = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        found += entry.path().filename().string().rfind(".tavo-", 0) == 0 ? 1 : 0;
    return found;
}

}  // namespace

int main(int argc, char** argv)
{
    const int kills = argc > 1 ? std::atoi(argv[1]) : 1000;
    const fs::path folder = argc > 2 ? fs::path(argv[2])
                                     : fs::temp_directory_path() / ("tavo-soak-" + std::to_string(::getpid()));
    fs::create_directories(folder / "real");
    fs::create_directories(folder / "scratch");
    fs::create_directories(folder / "linked");

    Versions versions;
    versions.image[0] = std::string(32768, '\xA5');
    versions.image[1] = std::string(16384, '\x5A');
    for (int version = 0; version < 2; ++version)
        versions.tbl[version] = formatTableFile(*definitions(version));
    if (!drawPngVersions(folder / "scratch", versions)) {
        std::fprintf(stderr, "could not draw the graphs\n");
        return 2;
    }

    // Version 0 of every file to start with; the image is group-readable only.
    std::ofstream(folder / "cal.bin", std::ios::binary) << versions.image[0];
    ::chmod((folder / "cal.bin").c_str(), 0640);
    std::ofstream(folder / "real" / "cal.tbl", std::ios::binary) << versions.tbl[0];
    fs::create_symlink("real/cal.tbl", folder / "cal.tbl");
    std::ofstream(folder / "graph.png", std::ios::binary) << versions.png[0];
    std::ofstream(folder / "linked" / "shared.bin", std::ios::binary) << versions.image[0];
    fs::create_hard_link(folder / "linked" / "shared.bin", folder / "linked" / "shared-link.bin");

    // How long one round of the four saves takes here, unkilled.
    const auto timed = std::chrono::steady_clock::now();
    const pid_t timing = ::fork();
    if (timing == 0)
        saveForever(folder, versions, ::open("/dev/null", O_WRONLY), 5);
    ::waitpid(timing, nullptr, 0);
    const auto round = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - timed) / 5;

    std::mt19937 rng(std::random_device{}());
    // Up to three rounds, so kills land everywhere in a round and some
    // rounds complete.
    std::uniform_int_distribution<long> delayMicroseconds(0, 3 * static_cast<long>(round.count()));
    long completedSaves = 0;
    int partial = 0, lostLinks = 0, changedModes = 0, leftAfterKill = 0, killsLeavingOne = 0, failures = 0;
    int tornHardLinked = 0, tornWithoutCopy = 0, hardLinkCopies = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int kill = 0; kill < kills; ++kill) {
        int fds[2];
        if (::pipe(fds) != 0)
            return 2;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            saveForever(folder, versions, fds[1]);
        }
        ::close(fds[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFSIGNALED(status))
            ++failures;  // the child stopped by itself: a save failed
        char buffer[4096];
        for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
            completedSaves += n;
        ::close(fds[0]);

        auto isVersion = [](const std::string& bytes, const std::string (&two)[2]) {
            return bytes == two[0] || bytes == two[1];
        };
        partial += isVersion(readAll(folder / "cal.bin"), versions.image) ? 0 : 1;
        partial += isVersion(readAll(folder / "real" / "cal.tbl"), versions.tbl) ? 0 : 1;
        partial += isVersion(readAll(folder / "graph.png"), versions.png) ? 0 : 1;
        lostLinks += fs::is_symlink(folder / "cal.tbl") ? 0 : 1;
        struct stat st {};
        ::stat((folder / "cal.bin").c_str(), &st);
        changedModes += (st.st_mode & 07777) == 0640 ? 0 : 1;
        const int temporaries = countTemporaries(folder) + countTemporaries(folder / "real");
        leftAfterKill += temporaries;
        killsLeavingOne += temporaries > 0 ? 1 : 0;

        // A file with two hard links is rewritten in place: a kill in the
        // middle may cut it, and then its complete copy must be beside it.
        const fs::path linked = folder / "linked";
        const bool intact = isVersion(readAll(linked / "shared.bin"), versions.image) &&
                            fs::equivalent(linked / "shared.bin", linked / "shared-link.bin");
        bool copyBeside = false;
        for (const auto& entry : fs::directory_iterator(linked)) {
            if (entry.path().filename().string().rfind(".tavo-", 0) != 0)
                continue;
            ++hardLinkCopies;
            copyBeside = copyBeside || isVersion(readAll(entry.path()), versions.image);
            if (!intact && copyBeside)  // the user's way back: put it in place
                std::ofstream(linked / "shared.bin", std::ios::binary | std::ios::trunc) << readAll(entry.path());
        }
        tornHardLinked += intact ? 0 : 1;
        tornWithoutCopy += intact || copyBeside ? 0 : 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // One last round of saves, not killed: it clears what killed ones left.
    const pid_t last = ::fork();
    if (last == 0)
        saveForever(folder, versions, ::open("/dev/null", O_WRONLY), 2);
    int lastStatus = 0;
    ::waitpid(last, &lastStatus, 0);
    failures += WIFEXITED(lastStatus) && WEXITSTATUS(lastStatus) == 0 ? 0 : 1;
    const int leftovers =
        countTemporaries(folder) + countTemporaries(folder / "real") + countTemporaries(folder / "linked");

    std::printf("kills:                              %d\n", kills);
    std::printf("one round of the four saves:        %.1f ms\n", static_cast<double>(round.count()) / 1000.0);
    std::printf("rounds completed before the kills:  %ld (%.1f s in all)\n", completedSaves, seconds);
    std::printf("partial or unknown files:           %d\n", partial);
    std::printf("symbolic links replaced:            %d\n", lostLinks);
    std::printf("permission bits changed:            %d\n", changedModes);
    std::printf("temporary files there right after a kill: %d, after %d of the kills\n"
                "                  (named for the rename, removed by the next save in the folder)\n",
                leftAfterKill, killsLeavingOne);
    std::printf("temporary files left after a last, unkilled save: %d\n", leftovers);
    std::printf("hard-linked file: cut by a kill %d times, %d of them without the complete copy beside it;\n"
                "                  its complete copy there right after a kill: %d times (removed by its next save)\n",
                tornHardLinked, tornWithoutCopy, hardLinkCopies);
    std::printf("saves that failed:                  %d\n", failures);
    if (argc <= 2)
        fs::remove_all(folder);
    return partial + lostLinks + changedModes + leftovers + failures + tornWithoutCopy == 0 ? 0 : 1;
}
