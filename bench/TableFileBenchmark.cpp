// Reading and writing a maximal definition file, and loading a 64 KiB image.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "rom/RomPrompts.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "tables/TableFileReader.h"
#include "tables/TableFileWriter.h"

namespace {

using namespace tavo;

std::unique_ptr<RomImage> maximalDefinitions()
{
    auto rom = std::make_unique<RomImage>();
    rom->loadOffset = 0;
    rom->description = "Maximal definition file";
    rom->dcalVersion = "1.0";
    for (int i = 0; i < kTableCapacity; ++i) {
        TableDef& def = rom->tables[static_cast<std::size_t>(rom->entryCount++)];
        def.offset = i * 100 % 0xFFFF;
        def.type = static_cast<TableType>(i % kTableTypeCount);
        def.name = std::string(200, 'n') + std::to_string(i);
        def.axes.xLabel = std::string(250, 'x');
        def.axes.yLabel = std::string(250, 'y');
        def.axes.xMin = "0", def.axes.xMax = "8000", def.axes.yMin = "-128", def.axes.yMax = "128";
        def.axes.xUnits = std::string(100, 'u'), def.axes.yUnits = std::string(100, 'v');
        def.chryslerName = "TBL" + std::to_string(i % 1000);
        std::string description;
        while (description.size() < 2000)
            description += "A long description line with spaces\n";
        def.description = description.substr(0, 2047);
        for (std::size_t k = 0; k < 8; ++k) {
            def.bitNames[k] = std::string(60, 'b');
            def.valueNames[k] = std::string(60, 'c');
            def.values[k] = static_cast<std::int32_t>(k * 17);
        }
    }
    return rom;
}

void BM_WriteMaximalTableFile(benchmark::State& state)
{
    auto rom = maximalDefinitions();
    for (auto _ : state) {
        std::string text = formatTableFile(*rom);
        benchmark::DoNotOptimize(text);
        state.SetBytesProcessed(state.bytes_processed() + static_cast<int64_t>(text.size()));
    }
}
BENCHMARK(BM_WriteMaximalTableFile)->Unit(benchmark::kMillisecond);

void BM_ReadMaximalTableFile(benchmark::State& state)
{
    const std::string text = formatTableFile(*maximalDefinitions());
    auto rom = std::make_unique<RomImage>();
    for (auto _ : state) {
        readTableText(*rom, text);
        benchmark::DoNotOptimize(rom->entryCount);
        state.SetBytesProcessed(state.bytes_processed() + static_cast<int64_t>(text.size()));
    }
}
BENCHMARK(BM_ReadMaximalTableFile)->Unit(benchmark::kMillisecond);

// A 60 MB definition file: mostly entry lines beyond the 514-entry capacity,
// or comment lines. Lines past the capacity are only recognised, not parsed,
// so both should read at nearly the same speed.
std::string sixtyMegabytesOf(const std::string& line)
{
    std::string text = "8000\r\nHuge\r\nBench\r\n";
    text.reserve(60'000'000 + line.size());
    while (text.size() < 60'000'000)
        text += line;
    return text;
}

void readHugeText(benchmark::State& state, const std::string& text)
{
    auto rom = std::make_unique<RomImage>();
    for (auto _ : state) {
        const TableReadResult result = readTableText(*rom, text);
        benchmark::DoNotOptimize(result.entriesDropped);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_Read60MBOfEntryLines(benchmark::State& state)
{
    readHugeText(state, sixtyMegabytesOf("9000 0 n Fuel_table RPM 0 8000 rpm Fuel 0 256 ms WOTTBL Wide_open\r\n"));
}
BENCHMARK(BM_Read60MBOfEntryLines)->Unit(benchmark::kMillisecond);

void BM_Read60MBOfComments(benchmark::State& state)
{
    readHugeText(state, sixtyMegabytesOf("; a comment line about as long as an entry line, nothing more\r\n"));
}
BENCHMARK(BM_Read60MBOfComments)->Unit(benchmark::kMillisecond);

class SilentPrompts : public RomPrompts {
public:
    std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return {}; }
    std::optional<std::string> chooseFileToSave(const FileRequest&) override { return {}; }
    std::optional<ChosenFile> chooseFileToSaveAs(const FileRequest&) override { return {}; }
    void showMessage(std::string_view, std::string_view, MessageIcon) override {}
    Answer ask(std::string_view, std::string_view, QuestionButtons) override { return Answer::No; }
    bool runRomInformation(RomImage&) override { return false; }
    void repaint() override {}
};

void BM_LoadFullImageWithMaximalDefinitions(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() / "tavo-bench";
    std::filesystem::create_directories(folder);
    const std::string bin = (folder / "full.bin").string();
    {
        std::ofstream out(bin, std::ios::binary);
        std::string bytes(65536, '\x5a');
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    auto defs = maximalDefinitions();
    defs->tblPath = (folder / "full.tbl").string();
    writeTableFile(*defs);
    auto rom = std::make_unique<RomImage>();
    SilentPrompts prompts;
    for (auto _ : state) {
        const LoadOutcome outcome = loadRomImageFrom(*rom, bin, prompts);
        benchmark::DoNotOptimize(outcome);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadFullImageWithMaximalDefinitions)->Unit(benchmark::kMillisecond);

}  // namespace
