// Renders the program's own dialogs, offscreen, into PNG files for the
// README, so its pictures show what the program shows today:
//   quick-viewer.png  the Quick Viewer on the sample calibration, WOTTBL
//                     selected, the comparison calibration's curve behind it.
//
// usage: tavo-screenshots FOLDER
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "SampleCalibration.h"
#include "app/qt/ProgramLook.h"
#include "cli/CliPrompts.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "tables/ScalePercentages.h"
#include "viewer/QuickViewerIds.h"
#include "viewer/QuickViewerState.h"
#include "viewer/qt/QuickViewerDialog.h"

namespace {

constexpr int kChryslerColumn = 3;

bool saveQuickViewer(const QString& folder)
{
    QTemporaryDir samples;
    if (!samples.isValid() || !tavo::sample::writeSampleFiles(samples.path().toStdString()))
        return false;
    tavo::CliPrompts prompts(std::cerr);
    auto working = std::make_unique<tavo::RomImage>();
    auto comparison = std::make_unique<tavo::RomImage>();
    const std::string base = samples.path().toStdString() + "/";
    if (tavo::loadRomImageFrom(*working, base + "sample.bin", prompts) != tavo::LoadOutcome::Loaded ||
        tavo::loadRomImageFrom(*comparison, base + "sample-compare.bin", prompts) != tavo::LoadOutcome::Loaded)
        return false;
    const bool comparisonLoaded = true;
    tavo::QuickViewerState state;
    tavo::ScalePercentages scale;
    tavo::QuickViewerDialog dialog({*working, *comparison, comparisonLoaded, state, scale, prompts});

    auto* list = dialog.findChild<QTreeWidget*>(QString::number(tavo::viewer_id::tableList));
    const auto rows = list ? list->findItems("WOTTBL", Qt::MatchExactly, kChryslerColumn) : QList<QTreeWidgetItem*>{};
    if (rows.isEmpty())
        return false;
    list->setCurrentItem(rows.front());
    dialog.show();
    QApplication::processEvents();
    return dialog.grab().save(QDir(folder).filePath("quick-viewer.png"));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: tavo-screenshots FOLDER\n", stderr);
        return 2;
    }
    tavo::applyProgramLook(app);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder) || !saveQuickViewer(folder)) {
        std::fprintf(stderr, "tavo-screenshots: could not render the Quick Viewer into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
