#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/AppState.h"
#include "app/ShellCommands.h"
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
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "tavo: no display is available (DISPLAY and WAYLAND_DISPLAY are unset).\n"
                     "Start TaVO from a desktop session, or under Xvfb: xvfb-run %s\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    auto state = std::make_unique<tavo::AppState>();
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
