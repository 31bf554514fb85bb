// Start-up to a shown main window: the application state, the logging
// configuration and the main window with its menus, shown (offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <memory>

#include "app/AppState.h"
#include "app/ShellCommands.h"
#include "app/qt/MainWindow.h"

namespace {

void BM_StartUpToShownMainWindow(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() / "tavo-startup-bench";
    std::filesystem::create_directories(folder);
    const std::string config = (folder / "Logging.cfg").string();
    for (auto _ : state) {
        auto appState = std::make_unique<tavo::AppState>();
        tavo::MainWindow window(*appState);
        window.show();
        tavo::loadLoggingConfiguration(*appState, config);
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StartUpToShownMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
