#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/AppState.h"
#include "app/ShellCommands.h"
#include "app/qt/LinkOptions.h"
#include "app/qt/MainWindow.h"
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

}  // namespace

int main(int argc, char** argv)
{
    const tavo::LinkOptions linkOptions = tavo::takeLinkOptions(argc, argv);
    if (!linkOptions.error.empty()) {
        std::fprintf(stderr, "tavo: %s\n", linkOptions.error.c_str());
        return 2;
    }
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "tavo: no display is available (DISPLAY and WAYLAND_DISPLAY are unset).\n"
                     "Start TaVO from a desktop session, or under Xvfb: xvfb-run %s\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    auto state = std::make_unique<tavo::AppState>();
    std::string linkError;
    const auto simulatedEcm = tavo::applyLinkOptions(linkOptions, *state, linkError);
    if (!linkError.empty()) {
        std::fprintf(stderr, "tavo: %s\n", linkError.c_str());
        return 1;
    }
    tavo::MainWindow window(*state);
    window.show();
    tavo::loadLoggingConfiguration(*state, tavo::kLoggingConfigFile);
    if (argc > 1) {
        // An image named on the command line opens as "Load Working ROM
        // Image..." would, once the main window is on screen.
        const std::string path = argv[1];
        QTimer::singleShot(0, &window, [&window, path] { window.openImage(path); });
    }
    return app.exec();
}
