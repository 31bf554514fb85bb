// Quick Viewer benchmarks: list refresh and graph drawing. A refresh runs on
// every column click and after Properties, Add and Delete; the graph is drawn
// on every selection and at the end of every point drag, so both have to stay
// far below a frame for dragging to feel smooth.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QTreeWidget>

#include <memory>
#include <string>

#include "SampleCalibration.h"
#include "rom/RomPrompts.h"
#include "rom/RomImage.h"
#include "tables/ScalePercentages.h"
#include "tables/TableCells.h"
#include "tables/TableLookup.h"
#include "viewer/GraphGeometry.h"
#include "viewer/GraphReadouts.h"
#include "viewer/QuickViewerState.h"
#include "viewer/TableList.h"
#include "viewer/paint/GraphPainter.h"
#include "viewer/qt/QuickViewerDialog.h"

namespace {

using namespace tavo;

// The sample calibration with its definitions repeated up to the 514 the array holds.
std::unique_ptr<RomImage> fullTableList()
{
    auto rom = sample::makeSampleCalibration();
    const int defined = rom->entryCount;
    for (int i = defined; i < kTableCapacity; ++i) {
        TableDef& def = rom->tables[static_cast<std::size_t>(i)];
        def = rom->tables[static_cast<std::size_t>(i % defined)];
        def.name += " copy " + std::to_string(i);
    }
    rom->entryCount = kTableCapacity;
    bindTables(*rom);
    return rom;
}

// A Normal table of 255 points: the most a count byte allows.
std::unique_ptr<RomImage> longestTable()
{
    auto rom = std::make_unique<RomImage>();
    const int at = 0x9000;
    rom->image[at] = 255;
    for (int i = 0; i < 255; ++i)
        writePoint(rom->image, TableType::Normal, at, i, i, (i * 7) % 256);
    TableDef& def = rom->tables[0];
    def.type = TableType::Normal;
    def.offset = at;
    def.name = "longest";
    rom->entryCount = 1;
    bindTables(*rom);
    return rom;
}

class SilentPrompts : public RomPrompts {
public:
    std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileRequest&) override { return std::nullopt; }
    std::optional<ChosenFile> chooseFileToSaveAs(const FileRequest&) override { return std::nullopt; }
    void showMessage(std::string_view, std::string_view, MessageIcon) override {}
    Answer ask(std::string_view, std::string_view, QuestionButtons) override { return Answer::No; }
    bool runRomInformation(RomImage&) override { return false; }
    void repaint() override {}
};

void ensureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tavo_benchmarks";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the process ends
}

void BM_ListRows514(benchmark::State& state)
{
    const auto rom = fullTableList();
    for (auto _ : state)
        benchmark::DoNotOptimize(tableListRows(*rom));
}
BENCHMARK(BM_ListRows514)->Unit(benchmark::kMicrosecond);

void BM_SortAndRelist514(benchmark::State& state)
{
    auto rom = fullTableList();
    int column = 0;
    for (auto _ : state) {
        sortTables(*rom, column);
        bindTables(*rom);
        benchmark::DoNotOptimize(tableListRows(*rom));
        column = (column + 1) % 4;
    }
}
BENCHMARK(BM_SortAndRelist514)->Unit(benchmark::kMicrosecond);

// A column click in the dialog: sort, rebuild the 514 rows of the list
// widget, select the table again by name and draw its graph.
void BM_ColumnClickInDialog514(benchmark::State& state)
{
    ensureApplication();
    auto rom = fullTableList();
    auto comparison = sample::makeSampleCalibration(true);
    const bool comparisonLoaded = true;
    QuickViewerState viewer;
    ScalePercentages scale;
    SilentPrompts prompts;
    QuickViewerDialog dialog({*rom, *comparison, comparisonLoaded, viewer, scale, prompts});
    QHeaderView* header = dialog.findChild<QTreeWidget*>("1282")->header();
    int column = 0;
    for (auto _ : state) {
        emit header->sectionClicked(column);
        column = (column + 1) % 4;
    }
}
BENCHMARK(BM_ColumnClickInDialog514)->Unit(benchmark::kMicrosecond);

void BM_GraphSegmentsSample(benchmark::State& state)
{
    const auto rom = sample::makeSampleCalibration();
    const auto comparison = sample::makeSampleCalibration(true);
    const int index = findTableIndex(*rom, "WOTTBL");
    for (auto _ : state)
        benchmark::DoNotOptimize(tableGraphSegments(*rom, index, comparison.get()));
}
BENCHMARK(BM_GraphSegmentsSample)->Unit(benchmark::kMicrosecond);

void BM_DrawGraphSample(benchmark::State& state)
{
    const auto rom = sample::makeSampleCalibration();
    const auto comparison = sample::makeSampleCalibration(true);
    const int index = findTableIndex(*rom, "WOTTBL");
    QImage bitmap;
    for (auto _ : state) {
        drawTableGraph(bitmap, *rom, index, comparison.get());
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}
BENCHMARK(BM_DrawGraphSample)->Unit(benchmark::kMicrosecond);

void BM_DrawGraph255Points(benchmark::State& state)
{
    const auto rom = longestTable();
    QImage bitmap;
    for (auto _ : state) {
        drawTableGraph(bitmap, *rom, 0, rom.get());
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}
BENCHMARK(BM_DrawGraph255Points)->Unit(benchmark::kMicrosecond);

// One mouse move over the longest table: read-outs with the snap search.
void BM_ReadoutsOn255Points(benchmark::State& state)
{
    const auto rom = longestTable();
    QuickViewerState viewer;
    viewer.current = 0;
    parseGraphRanges(viewer, rom->tables[0]);
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(updateReadouts(viewer, *rom, 400 + x, 100));
        x = (x + 1) % 256;
    }
}
BENCHMARK(BM_ReadoutsOn255Points)->Unit(benchmark::kMicrosecond);

}  // namespace
