#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/ShellCommands.h"
#include "app/StartOptions.h"
#include "app/qt/LinkOptions.h"
#include "app/qt/MainWindow.h"
#include "app/qt/ProgramLook.h"
#include "common/Version.h"
#include "logging/LoggingConfig.h"

namespace {

// Qt aborts when it finds no display; say so plainly instead.
bool displayAvailable()
{
#if defined(Q_OS_LINUX)
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
#else
    return true;
#endif
}

// The words after the program's name, less Qt's own options.
std::vector<std::string> startArguments(int argc, char** argv)
{
#if defined(Q_OS_WIN)
    // argv holds the local code page's approximation of the names; Qt read
    // the UTF-16 command line (and a display is always there to make Qt).
    (void)argc;
    (void)argv;
    std::vector<std::string> words;
    for (const QString& word : QCoreApplication::arguments().mid(1))
        words.push_back(word.toStdString());
    return words;
#else
    // The raw bytes: an image path need not be valid in any encoding.
    return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    // Qt takes its own options (-platform, -style, ...) out of argv when the
    // application object is made. Without a display none can be made, but
    // --help and --version still answer.
    const bool display = displayAvailable();
    std::unique_ptr<QApplication> app;
    if (display)
        app = std::make_unique<QApplication>(argc, argv);
    const tavo::StartOptions options = tavo::parseStartOptions(startArguments(argc, argv));
    if (!options.error.empty()) {
        std::fprintf(stderr, "tavo: %s\nTry 'tavo --help' for the options.\n", options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(tavo::startHelpText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(tavo::startVersionText().c_str(), stdout);
        return 0;
    }
    if (!display) {
        std::fprintf(stderr,
                     "tavo: no display is available (DISPLAY and WAYLAND_DISPLAY are unset).\n"
                     "Start TaVO from a desktop session, or under Xvfb: xvfb-run %s\n",
                     argv[0]);
        return 1;
    }

    QApplication::setApplicationVersion(tavo::kVersion);
    // The desktop entry's name: Wayland compositors match windows to it.
    QGuiApplication::setDesktopFileName("tavo");
    tavo::applyProgramLook(*app);

    auto state = std::make_unique<tavo::AppState>();
    std::string linkError;
    const auto simulatedEcm = tavo::applyLinkOptions(options, *state, linkError);
    if (!linkError.empty()) {
        std::fprintf(stderr, "tavo: %s\n", linkError.c_str());
        return 1;
    }
    tavo::MainWindow window(*state);
    window.show();
    tavo::loadLoggingConfiguration(*state, tavo::kLoggingConfigFile);
    if (!options.imagePath.empty()) {
        // An image named on the command line opens as "Load Working ROM
        // Image..." would, once the main window is on screen.
        const std::string path = options.imagePath;
        QTimer::singleShot(0, &window, [&window, path] { window.openImage(path); });
    }
    return app->exec();
}
