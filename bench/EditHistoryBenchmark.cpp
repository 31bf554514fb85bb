// Undo and redo on a full image: 64 KiB of bytes and all 514 definitions.
// A step taken back or done again must stay under a millisecond, so the keys
// feel immediate; recording runs after every user action. The memory of
// 1000 drag steps is reported as the counter bytesPerStep (and historyKiB).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QShortcut>
#include <QKeySequence>

#include <algorithm>
#include <memory>
#include <string>

#include "SampleCalibration.h"
#include "rom/EditHistory.h"
#include "rom/RomImage.h"
#include "rom/RomPrompts.h"
#include "tables/ScalePercentages.h"
#include "tables/TableCells.h"
#include "viewer/QuickViewerState.h"
#include "viewer/qt/QuickViewerDialog.h"

namespace {

using namespace tavo;

// The sample calibration over the whole 64 KiB, its definitions repeated up to 514.
std::unique_ptr<RomImage> fullImage()
{
    auto rom = sample::makeSampleCalibration();
    for (std::size_t at = 0; at < 0x8000; ++at)
        rom->image[at] = static_cast<std::uint8_t>(at * 7 + 3);
    rom->loadOffset = 0;
    rom->imageSize = static_cast<std::int32_t>(kAddressSpace);
    const int defined = rom->entryCount;
    for (int i = defined; i < kTableCapacity; ++i) {
        TableDef& def = rom->tables[static_cast<std::size_t>(i)];
        def = rom->tables[static_cast<std::size_t>(i % defined)];
        def.name += " copy " + std::to_string(i);
        def.description = "A description long enough to live outside the string, as most do.";
    }
    rom->entryCount = kTableCapacity;
    bindTables(*rom);
    return rom;
}

// A drag of WOTTBL's point 3: its bytes and every slope recomputed.
void dragPoint(RomImage& rom, int y)
{
    writePoint(rom.image, TableType::Normal, 0x9000, 3, 64, y);
    recomputeSlopes(rom.image, TableType::Normal, 0x9000);
}

void undoRedo(benchmark::State& state, RomImage& rom, EditHistory& history)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(history.undo(rom));
        benchmark::DoNotOptimize(history.redo(rom));
    }
    // Each iteration is two steps: the time of one is half the time shown.
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_UndoRedoDragStep(benchmark::State& state)
{
    auto rom = fullImage();
    EditHistory history;
    history.restart(*rom);
    dragPoint(*rom, 150);
    history.record(*rom, "Drag Point");
    undoRedo(state, *rom, history);
}
BENCHMARK(BM_UndoRedoDragStep)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoChangedDefinition(benchmark::State& state)
{
    auto rom = fullImage();
    EditHistory history;
    history.restart(*rom);
    rom->tables[257].name = "Renamed";
    history.record(*rom, "Change Definition");
    undoRedo(state, *rom, history);
}
BENCHMARK(BM_UndoRedoChangedDefinition)->Unit(benchmark::kMicrosecond);

// A definition deleted from the front: every later entry moves on each undo and redo.
void BM_UndoRedoDeletedDefinition(benchmark::State& state)
{
    auto rom = fullImage();
    EditHistory history;
    history.restart(*rom);
    std::rotate(rom->tables.begin(), rom->tables.begin() + 1, rom->tables.begin() + rom->entryCount);
    --rom->entryCount;
    history.record(*rom, "Delete Definition");
    undoRedo(state, *rom, history);
}
BENCHMARK(BM_UndoRedoDeletedDefinition)->Unit(benchmark::kMicrosecond);

// The largest step of bytes: the whole image moved by relocation.
void BM_UndoRedoRelocation(benchmark::State& state)
{
    auto rom = fullImage();
    EditHistory history;
    history.restart(*rom);
    std::rotate(rom->image.begin(), rom->image.begin() + 0x4000, rom->image.end());
    rom->loadOffset = 0x4000;
    history.record(*rom, "Relocate Image");
    undoRedo(state, *rom, history);
}
BENCHMARK(BM_UndoRedoRelocation)->Unit(benchmark::kMicrosecond);

// What every user action costs: finding what changed.
void BM_RecordDragStep(benchmark::State& state)
{
    auto rom = fullImage();
    EditHistory history;
    history.restart(*rom);
    int y = 0;
    for (auto _ : state) {
        dragPoint(*rom, 100 + (y++ % 100));
        benchmark::DoNotOptimize(history.record(*rom, "Drag Point"));
    }
}
BENCHMARK(BM_RecordDragStep)->Unit(benchmark::kMicrosecond);

void BM_HistoryOf1000DragSteps(benchmark::State& state)
{
    auto rom = fullImage();
    std::size_t memory = 0;
    for (auto _ : state) {
        EditHistory history;
        history.restart(*rom);
        for (int k = 0; k < 1000; ++k) {
            dragPoint(*rom, 100 + k % 100);
            history.record(*rom, "Drag Point");
        }
        memory = history.memoryUsed();
    }
    state.counters["historyKiB"] = static_cast<double>(memory) / 1024.0;
    state.counters["bytesPerStep"] = static_cast<double>(memory) / 1000.0;
}
BENCHMARK(BM_HistoryOf1000DragSteps)->Unit(benchmark::kMillisecond)->Iterations(3);

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

QShortcut* keyOf(QWidget& dialog, const QKeySequence& keys)
{
    for (QShortcut* shortcut : dialog.findChildren<QShortcut*>())
        if (shortcut->key() == keys)
            return shortcut;
    return nullptr;
}

// Ctrl+Z and Ctrl+Y in the Quick Viewer: the step and what the viewer shows
// of it (the graph redrawn; for definitions the 514-row list rebuilt).
void viewerUndoRedo(benchmark::State& state, bool definitions)
{
    ensureApplication();
    auto rom = fullImage();
    auto comparison = sample::makeSampleCalibration(true);
    const bool comparisonLoaded = true;
    QuickViewerState viewer;
    ScalePercentages scale;
    SilentPrompts prompts;
    EditHistory history;
    history.restart(*rom);
    QuickViewerDialog dialog({*rom, *comparison, comparisonLoaded, viewer, scale, prompts, &history});
    if (definitions)
        rom->tables[static_cast<std::size_t>(viewer.current)].description = "Changed";
    else
        dragPoint(*rom, 150);
    history.record(*rom, definitions ? "Change Definition" : "Drag Point");
    QShortcut* undo = keyOf(dialog, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QShortcut* redo = keyOf(dialog, QKeySequence(Qt::CTRL | Qt::Key_Y));
    for (auto _ : state) {
        emit undo->activated();
        emit redo->activated();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_ViewerUndoRedoDragStep(benchmark::State& state)
{
    viewerUndoRedo(state, false);
}
BENCHMARK(BM_ViewerUndoRedoDragStep)->Unit(benchmark::kMicrosecond);

void BM_ViewerUndoRedoChangedDefinition(benchmark::State& state)
{
    viewerUndoRedo(state, true);
}
BENCHMARK(BM_ViewerUndoRedoChangedDefinition)->Unit(benchmark::kMicrosecond);

}  // namespace
