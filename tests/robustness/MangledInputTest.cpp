// Feeds mangled definition files and images to the reader and the loader,
// and puts them in hostile places: folders, pipes, unreadable files, long
// paths and links. Run under the sanitizer build, any read or write outside
// a buffer fails it; opening a pipe would hang it.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>
#include <sstream>

#include "SampleCalibration.h"
#include "cli/CliCommands.h"
#include "rom/RomSaver.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "tables/ShapeTests.h"
#include "tables/TableCells.h"
#include "tables/TableFileReader.h"
#include "tables/TableFileWriter.h"

namespace tavo {
namespace {

std::string mangle(std::string text, std::mt19937& rng)
{
    std::uniform_int_distribution<int> op(0, 6);
    std::uniform_int_distribution<int> byte(0, 255);
    const int edits = 1 + static_cast<int>(rng() % 40);
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const std::size_t at = rng() % text.size();
        switch (op(rng)) {
        case 0: text[at] = static_cast<char>(byte(rng)); break;
        case 1: text.erase(at, rng() % 20); break;
        case 2: text.insert(at, std::string(rng() % 3000, static_cast<char>(byte(rng)))); break;
        case 3: text.insert(at, 1, '\0'); break;
        case 4: text.insert(at, " 12345 ffffffffff zz "); break;
        case 5: text.insert(at, "\r"); break;
        default: text.insert(at, text.substr(rng() % text.size(), rng() % 200)); break;
        }
    }
    return text;
}

TEST(MangledInput, the_reader_survives_mangled_definition_files_and_writes_what_it_reads)
{
    auto sample = sample::makeSampleCalibration();
    const std::string original = formatTableFile(*sample);
    std::mt19937 rng(20061950);
    for (int round = 0; round < 400; ++round) {
        auto rom = std::make_unique<RomImage>();
        const std::string text = mangle(original, rng);
        readTableText(*rom, text);
        ASSERT_LE(rom->entryCount, kTableCapacity);
        // Whatever was read is written and read again to the same text.
        const std::string written = formatTableFile(*rom);
        auto again = std::make_unique<RomImage>();
        readTableText(*again, written);
        ASSERT_EQ(formatTableFile(*again), written) << "round " << round;
        for (int i = 0; i < rom->entryCount; ++i) {
            const TableDef& def = rom->tables[static_cast<std::size_t>(i)];
            ASSERT_LE(def.name.size(), 255u);
            ASSERT_LE(def.description.size(), 2047u);
            ASSERT_LE(def.chryslerName.size(), 31u);
            ASSERT_GE(def.offset, 0);
            ASSERT_LE(def.offset, 0xFFFF);
        }
    }
}

TEST(MangledInput, random_bytes_as_a_definition_file_are_harmless)
{
    std::mt19937 rng(42);
    for (int round = 0; round < 200; ++round) {
        std::string text(rng() % 20000, '\0');
        for (char& c : text)
            c = static_cast<char>(rng() % 256);
        auto rom = std::make_unique<RomImage>();
        readTableText(*rom, text);
        ASSERT_LE(rom->entryCount, kTableCapacity);
        formatTableFile(*rom);
    }
}

TEST(MangledInput, random_images_bind_and_shape_test_without_leaving_the_address_space)
{
    std::mt19937 rng(7);
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    for (int round = 0; round < 60; ++round) {
        // Definitions near the top of the space, of every kind.
        std::string tbl = "0\nd\na\n";
        for (int i = 0; i < 40; ++i) {
            char line[64];
            std::snprintf(line, sizeof line, "%x %d n T X Y\n",
                          static_cast<unsigned>(0xFF00 + rng() % 256), static_cast<int>(rng() % 7));
            tbl += line;
        }
        test::writeText(dir.file("r.tbl"), tbl);
        std::vector<std::uint8_t> bytes(rng() % 65537);
        for (auto& b : bytes)
            b = rng() % 4 == 0 ? 0xFF : static_cast<std::uint8_t>(rng());
        test::writeBytes(dir.file("r.bin"), bytes);
        auto rom = std::make_unique<RomImage>();
        ASSERT_EQ(loadRomImageFrom(*rom, dir.file("r.bin"), prompts), LoadOutcome::Loaded);
        for (int i = 0; i < rom->entryCount; ++i) {
            const TableDef& def = rom->tables[static_cast<std::size_t>(i)];
            const int rows = rowsInSpace(def.type, def.offset, def.count);
            for (int r = 0; r < rows; ++r)
                readPoint(rom->image, def.type, def.offset, r);
            if (isGraphType(def.type))
                recomputeSlopes(rom->image, def.type, def.offset);
        }
        for (int address = 0xFF00; address <= 0xFFFF; ++address) {
            testNormalTable(rom->image, address);
            testFiveByteTable(rom->image, address);
        }
    }
}

// What a name in the folder is: its kind and, for a file, its bytes.
std::string describe(const std::filesystem::path& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto status = fs::symlink_status(path, ec);
    if (fs::is_symlink(status))
        return "link to " + fs::read_symlink(path, ec).string();
    if (fs::is_directory(status))
        return "folder";
    if (fs::is_fifo(status))
        return "pipe";
    if (fs::is_regular_file(status))
        return "file of " + std::to_string(fs::file_size(path, ec)) + " bytes";
    return "nothing";
}

TEST(MangledEnvironment, loads_and_saves_survive_folders_pipes_unreadable_files_long_paths_and_links)
{
    namespace fs = std::filesystem;
    auto sample = sample::makeSampleCalibration();
    const std::string tblText = formatTableFile(*sample);
    const std::string binText = imageFileBytes(*sample);
    enum Kind { Regular, Link, Dangling, Folder, Pipe, Unreadable, Huge, Missing, KindCount };
    std::mt19937 rng(19580630);
    for (int round = 0; round < 80; ++round) {
        test::TempDir dir;
        // The folder of the image: plain, far down a long path, or behind a link.
        fs::path folder = dir.path();
        const int where = static_cast<int>(rng() % 3);
        if (where == 1) {
            const std::size_t wanted = 260 + rng() % 3700;
            while (folder.string().size() + 60 < wanted)
                folder /= std::string(50 + rng() % 10, static_cast<char>('a' + rng() % 26));
            fs::create_directories(folder);
        } else if (where == 2) {
            fs::create_directory(dir.path() / "real");
            fs::create_directory_symlink("real", dir.path() / "via");
            folder = dir.path() / "via";
        }
        auto place = [&](const std::string& name, const std::string& text, Kind kind) {
            const fs::path path = folder / name;
            const fs::path real = folder / ("real-" + name);
            switch (kind) {
            case Regular: test::writeText(path.string(), text); break;
            case Link:
                test::writeText(real.string(), text);
                fs::create_symlink(real.filename(), path);
                break;
            case Dangling: fs::create_symlink("nowhere-" + name, path); break;
            case Folder: fs::create_directory(path); break;
            case Pipe: ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); break;
            case Unreadable:
                test::writeText(path.string(), text);
                ::chmod(path.c_str(), 0);
                break;
            case Huge:
                test::writeText(path.string(), text);
                ASSERT_EQ(::truncate(path.c_str(), 64 * 1024 * 1024 + 1 + static_cast<long>(rng() % 100)), 0);
                break;
            default: break;
            }
        };
        const auto binKind = static_cast<Kind>(rng() % KindCount);
        const auto tblKind = static_cast<Kind>(rng() % KindCount);
        place("cal.bin", binText, binKind == Huge ? Regular : binKind);
        place("cal.tbl", tblText, tblKind);
        const std::string bin = (folder / "cal.bin").string();
        const std::string tbl = (folder / "cal.tbl").string();
        const std::string tblBefore = describe(tbl);

        auto rom = std::make_unique<RomImage>();
        test::ScriptedPrompts prompts;
        const LoadOutcome outcome = loadRomImageFrom(*rom, bin, prompts);
        const bool tblUnreadable = tblKind == Folder || tblKind == Pipe || tblKind == Huge ||
                                   (tblKind == Unreadable && !test::runningAsRoot());
        SCOPED_TRACE("round " + std::to_string(round) + ", image " + std::to_string(binKind) + ", tbl " +
                     std::to_string(tblKind) + ", path of " + std::to_string(bin.size()));
        if (tblUnreadable) {
            EXPECT_EQ(outcome, LoadOutcome::Refused);
            EXPECT_EQ(prompts.romInformationRuns, 0);
            EXPECT_EQ(describe(tbl), tblBefore) << "an unreadable .tbl is left alone";
            EXPECT_EQ(rom->romPath, "");
        }
        if (outcome == LoadOutcome::Loaded) {
            EXPECT_EQ(rom->romPath, bin);
            EXPECT_EQ(rom->tblPath, tbl);
            saveRomImage(*rom, prompts);
            storeTableFile(*rom, prompts);
            for (const char* name : {"cal.bin", "cal.tbl"}) {
                const fs::path path = folder / name;
                EXPECT_EQ(fs::is_symlink(path), (name[4] == 'b' ? binKind : tblKind) == Link ||
                                                    (name[4] == 'b' ? binKind : tblKind) == Dangling);
            }
        }
        // tavo-cli over the same files never creates or replaces a .tbl.
        const std::string tblNow = describe(tbl);
        std::ostringstream out, err;
        const int code = runCli({"save-tables", bin}, out, err);
        EXPECT_TRUE(code == 0 || code == 1) << code;
        EXPECT_EQ(describe(tbl).substr(0, 4), tblNow.substr(0, 4));
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string().rfind(".tavo-", 0), std::string::npos)
                << "temporary left behind: " << entry.path();
    }
    // A path longer than the system takes is refused with a message.
    auto rom = std::make_unique<RomImage>();
    test::ScriptedPrompts prompts;
    EXPECT_EQ(loadRomImageFrom(*rom, "/tmp/" + std::string(5000, 'x') + ".bin", prompts), LoadOutcome::Refused);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].text.find("The name is too long."), std::string::npos);
}

}  // namespace
}  // namespace tavo
