#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/AppState.h"
#include "app/qt/MainWindow.h"
#include "rom/RomLoader.h"

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
                     "Start TaVO from a desktop session, or under Xvfb (xvfb-run).\n");
        return 1;
    }
    QApplication app(argc, argv);
    auto state = std::make_unique<tavo::AppState>();
    tavo::MainWindow window(*state);
    window.show();
    if (argc > 1) {
        tavo::loadRomImageFrom(state->workingImage, argv[1], window.prompts());
        tavo::markWorkingImageSaved(*state);
    }
    return app.exec();
}
