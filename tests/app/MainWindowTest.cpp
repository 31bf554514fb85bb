#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <algorithm>
#include <map>
#include <memory>
#include <utility>

#include "SampleCalibration.h"
#include "app/AppState.h"
#include "app/CommandIds.h"
#include "app/qt/MainWindow.h"
#include "common/AtomicFile.h"
#include "logging/LogFile.h"
#include "review/qt/LogWindow.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace tavo {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    std::unique_ptr<MainWindow> window;
    std::vector<QString> dialogsShown;  // object names of the modal dialogs run

    void SetUp() override
    {
        window = std::make_unique<MainWindow>(*state, &prompts);
        window->runModal = [this](QDialog& dialog) {
            dialogsShown.push_back(dialog.objectName());
            lastDialogTitle = dialog.windowTitle();
            lastDialogTexts.clear();
            lastDialogPictures.clear();
            for (QLabel* label : dialog.findChildren<QLabel*>()) {
                lastDialogTexts << label->text();
                if (!label->pixmap().isNull())
                    lastDialogPictures[label->objectName()] = label->pixmap().toImage();
            }
            return int(QDialog::Rejected);
        };
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QString lastDialogTitle;
    QStringList lastDialogTexts;
    std::map<QString, QImage> lastDialogPictures;  // by the label's object name

    QMenu* popup(int index) { return window->menuBar()->actions().at(index)->menu(); }

    // The texts of a popup's entries, "-" for a separator.
    static QStringList texts(QMenu* menu)
    {
        QStringList list;
        for (QAction* action : menu->actions())
            list << (action->isSeparator() ? QString("-") : action->text());
        return list;
    }
};

TEST_F(MainWindowTest, starts_titled_tavo_with_an_empty_client_area)
{
    EXPECT_EQ(window->windowTitle(), "TaVO");
    EXPECT_TRUE(state->workingImage.romPath.empty());
    const QImage client = window->centralWidget()->grab().toImage();
    const QRgb background = client.pixel(client.width() - 1, client.height() - 1);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(client.pixel(x, y), background) << "nothing is drawn before a load";
}

TEST_F(MainWindowTest, the_menu_bar_holds_every_entry_with_its_mnemonic_shortcut_and_state)
{
    QStringList popups;
    for (QAction* action : window->menuBar()->actions())
        popups << action->text();
    EXPECT_EQ(popups, (QStringList{"&File", "&Edit", "&Tables", "&DataLogging", "T&ools", "&Help"}));
    EXPECT_EQ(texts(popup(0)),
              (QStringList{"&Load Working ROM Image...\tCtrl+L", "&Edit ROM Information...\tCtrl+E",
                           "Save ROM Image\tCtrl+R", "Save ROM Image As...", "-", "Print Report...\tCtrl+P", "-",
                           "&Load Comparison ROM Image...", "&Write NEW ROM Image...", "-",
                           "&Save Table Data...\tCtrl+S", "-", "E&xit\tAlt+F4"}));
    EXPECT_EQ(texts(popup(1)), (QStringList{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y"}));
    EXPECT_EQ(texts(popup(2)), (QStringList{"&QuickViewer...\tCtrl+T", "-", "ROM Scan..."}));
    EXPECT_EQ(texts(popup(3)), (QStringList{"&Data Log...\tCtrl+D", "&Live RAM Display...", "Save Current Log...",
                                            "&Open Log...\tCtrl+O", "-", "Setup Logging...", "Setup Serial..."}));
    EXPECT_EQ(texts(popup(4)), (QStringList{"&Assembly", "Analysis"}));
    QMenu* assembly = popup(4)->actions().at(0)->menu();
    QMenu* analysis = popup(4)->actions().at(1)->menu();
    EXPECT_EQ(texts(assembly),
              (QStringList{"&Disassemble ROM...", "&Edit Source Code...", "&Assemble Source Code..."}));
    EXPECT_EQ(texts(analysis), (QStringList{"Fueling...", "Timing..."}));
    EXPECT_EQ(texts(popup(5)), (QStringList{"&About...\tAlt+F1"}));

    EXPECT_FALSE(window->actionFor(command::PrintReport)->isEnabled());
    EXPECT_FALSE(window->actionFor(command::Undo)->isEnabled()) << "nothing to undo yet";
    EXPECT_FALSE(window->actionFor(command::Redo)->isEnabled());
    for (int id : {command::DisassembleRom, command::EditSourceCode, command::AssembleSourceCode})
        EXPECT_FALSE(window->actionFor(id)->isEnabled()) << id;
    EXPECT_TRUE(window->actionFor(command::LoadWorkingImage)->isEnabled());
    EXPECT_TRUE(window->actionFor(command::Timing)->isEnabled());
}

TEST_F(MainWindowTest, accelerators_reach_their_commands)
{
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_EQ(prompts.openRequests.size(), 1u);
    EXPECT_EQ(prompts.openRequests[0].title, "Select Rom Image");

    QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(prompts.romInformationRuns, 1);

    state->workingImage.tblPath = dir.file("cal.tbl");
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(test::readText(dir.file("cal.tbl")).empty());

    QTest::keyClick(window.get(), Qt::Key_F1, Qt::AltModifier);
    QTest::keyClick(window.get(), Qt::Key_Slash, Qt::AltModifier);
    QTest::keyClick(window.get(), Qt::Key_Question, Qt::AltModifier);
    EXPECT_EQ(dialogsShown, (std::vector<QString>{"103", "103", "103"}));
}

TEST_F(MainWindowTest, about_shows_its_texts_and_both_pictures)
{
    window->actionFor(command::About)->trigger();
    EXPECT_EQ(lastDialogTitle, "About TaVO");
    for (const char* text : {"TaVO", "This product is NOT developed, distributed,\nor endorsed by Daimler-Chrysler.",
                             "Build 2006.195", "WARNING! WARNING! WARNING!"})
        EXPECT_TRUE(lastDialogTexts.contains(text)) << text;
    // The pictures are the program's compiled-in resources, linked as into
    // tavo: without them the labels stay empty.
    for (const auto& [label, file] : {std::pair{"135", "about-turbine.png"}, std::pair{"151", "about-badge.png"}}) {
        const QImage drawn(QStringLiteral(TAVO_RESOURCE_DIR "/") + file);
        ASSERT_FALSE(drawn.isNull()) << file;
        ASSERT_TRUE(lastDialogPictures.count(label)) << file << " is not shown";
        EXPECT_EQ(lastDialogPictures[label].convertToFormat(QImage::Format_ARGB32),
                  drawn.convertToFormat(QImage::Format_ARGB32))
            << file;
    }
}

TEST_F(MainWindowTest, the_window_has_the_program_icon_in_both_sizes)
{
    for (int size : {32, 128})
        EXPECT_EQ(window->windowIcon().pixmap(size).size(), QSize(size, size)) << size;
}

TEST_F(MainWindowTest, placeholder_dialogs_open_and_timing_makes_the_working_image_the_analysis_image)
{
    window->runCommand(command::DisassembleRom);
    window->runCommand(command::EditSourceCode);
    window->runCommand(command::AssembleSourceCode);
    window->actionFor(command::Timing)->trigger();
    EXPECT_EQ(dialogsShown, (std::vector<QString>{"178", "179", "180", "183"}));
    EXPECT_EQ(lastDialogTitle, "Timing");
    EXPECT_EQ(state->analysisImage, &state->workingImage);
}

TEST_F(MainWindowTest, entries_without_a_function_do_nothing)
{
    for (int id : {command::WriteNewRomImage, command::PrintReport})
        window->runCommand(id);
    EXPECT_TRUE(dialogsShown.empty());
    EXPECT_TRUE(prompts.openRequests.empty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(MainWindowTest, the_logging_entries_open_their_dialogs_and_save_current_log_asks_for_a_name)
{
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
    window->actionFor(command::SetupLogging)->trigger();
    EXPECT_EQ(dialogsShown, (std::vector<QString>{"dataLogging", "loggingVariables"}));
    EXPECT_EQ(lastDialogTitle, "Data Logging Variables");
    state->logFolder = dir.file("logs");
    prompts.saveNames.push_back(dir.file("run.csv"));
    prompts.saveFilters.push_back(1);
    window->actionFor(command::SaveCurrentLog)->trigger();
    ASSERT_EQ(prompts.saveRequests.size(), 1u);
    EXPECT_EQ(prompts.saveRequests[0].title, "Save Current Log");
    EXPECT_EQ(test::readText(dir.file("run.csv")), "row,seconds\n");
}

TEST_F(MainWindowTest, open_log_opens_a_window_per_log_beside_a_usable_main_window_and_refuses_what_it_cannot_read)
{
    state->logFolder = dir.file("logs");
    LogFileContent log;
    log.channelMask = 1;
    log.samplePeriodMs = 125;
    log.writePos = 2;
    log.samples[1][0] = 40;
    log.samples[2][0] = 41;
    test::writeText(dir.file("run.log"), encodeLogFile(log));
    test::writeText(dir.file("run.csv"), "row,seconds,RPMs\n0,0.000,40\n");
    prompts.openNames = {dir.file("run.log"), dir.file("run.csv"), dir.file("none.log")};
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    window->actionFor(command::OpenLog)->trigger();
    window->actionFor(command::OpenLog)->trigger();
    EXPECT_EQ(prompts.openRequests.at(0).initialPath, "") << "no log folder yet";
    EXPECT_TRUE(dialogsShown.empty()) << "nothing modal";
    const QList<LogWindow*> logs = window->findChildren<LogWindow*>();
    ASSERT_EQ(logs.size(), 2);
    EXPECT_TRUE(logs[0]->isVisible() && logs[1]->isVisible());
    EXPECT_EQ(logs[0]->log().run.rowCount(), 2);
    EXPECT_EQ(logs[1]->log().path, dir.file("run.csv"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Unable to read the log file:\n" + dir.file("none.log") + "\nNo such file or folder.");
    window->actionFor(command::SetupLogging)->trigger();
    EXPECT_EQ(dialogsShown.back(), "loggingVariables") << "the main window stays usable";
    logs[0]->close();
    QTest::qWait(0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->findChildren<LogWindow*>().size(), 1) << "a closed window goes; the other stays";
    EXPECT_EQ(test::readText(dir.file("run.csv")), "row,seconds,RPMs\n0,0.000,40\n");
}

TEST_F(MainWindowTest, a_loaded_image_shows_its_path_and_the_guard_keeps_edits)
{
    ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
    prompts.openNames.push_back(dir.file("sample.bin"));
    window->actionFor(command::LoadWorkingImage)->trigger();
    EXPECT_EQ(state->workingImage.romPath, dir.file("sample.bin"));
    const QImage client = window->centralWidget()->grab().toImage();
    const QRgb background = client.pixel(client.width() - 1, client.height() - 1);
    int drawn = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x)
            drawn += client.pixel(x, y) != background;
    EXPECT_GT(drawn, 20) << "the path is drawn at the top left";

    state->workingImage.image[0x9141] ^= 0xFF;
    const std::size_t viewersShown = dialogsShown.size();
    prompts.answers.push_back(Answer::Cancel);
    window->actionFor(command::LoadWorkingImage)->trigger();
    EXPECT_EQ(prompts.openRequests.size(), 1u) << "Cancel asks for no file";
    EXPECT_EQ(dialogsShown.size(), viewersShown) << "and opens no viewer";
    prompts.answers.push_back(Answer::Cancel);
    window->close();
    EXPECT_TRUE(window->isVisible());
    prompts.answers.push_back(Answer::No);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompts.questions.size(), 3u);
}

TEST_F(MainWindowTest, a_load_cancelled_in_rom_information_or_of_a_missing_image_writes_no_file)
{
    test::writeBytes(dir.file("new.bin"), std::vector<std::uint8_t>(16384, 0x77));
    prompts.openNames.push_back(dir.file("new.bin"));
    window->actionFor(command::LoadWorkingImage)->trigger();  // Cancel in ROM Information
    EXPECT_EQ(prompts.romInformationRuns, 1);
    EXPECT_TRUE(fileMissing(dir.file("new.tbl")));
    EXPECT_TRUE(state->workingImage.romPath.empty());
    EXPECT_FALSE(state->workingImage.loaded);

    prompts.romInformation = [](RomImage&) { return true; };
    prompts.openNames.push_back(dir.file("typo.bin"));
    window->actionFor(command::LoadWorkingImage)->trigger();
    EXPECT_EQ(prompts.romInformationRuns, 1) << "a missing image asks for no ROM information";
    EXPECT_TRUE(std::any_of(prompts.messages.begin(), prompts.messages.end(), [](const auto& message) {
        return message.text.rfind("Unable to open the ROM image file.", 0) == 0;
    }));
    EXPECT_TRUE(fileMissing(dir.file("typo.tbl")));

    prompts.openNames.push_back(dir.file("new.bin"));
    window->actionFor(command::LoadWorkingImage)->trigger();  // OK: as always
    EXPECT_TRUE(state->workingImage.loaded);
    EXPECT_FALSE(fileMissing(dir.file("new.tbl")));
}

TEST_F(MainWindowTest, fueling_opens_on_the_working_image_or_says_which_tables_are_missing)
{
    window->runCommand(command::Fueling);
    EXPECT_TRUE(dialogsShown.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Missing tables... need WOTTBL, MAPTBL, MAPIDL, and PEFTBL");

    ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
    prompts.openNames.push_back(dir.file("sample.bin"));
    window->runCommand(command::LoadWorkingImage);
    EXPECT_EQ(dialogsShown.back(), "174") << "the Quick Viewer opens after a load";
    window->actionFor(command::Fueling)->trigger();
    EXPECT_EQ(lastDialogTitle, "Fueling");
    EXPECT_EQ(state->analysisImage, &state->workingImage);
}

TEST_F(MainWindowTest, rom_scan_adds_the_referenced_tables_which_closing_asks_about_until_undone)
{
    ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
    prompts.openNames.push_back(dir.file("sample.bin"));
    window->actionFor(command::RomScan)->trigger();
    EXPECT_EQ(state->workingImage.entryCount, 11 + 3);
    EXPECT_EQ(state->workingImage.tables[11].name, "L9200");
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith("3 definitions added: L9200, "))
        << window->statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(prompts.messages.empty()) << "no box to dismiss";
    EXPECT_TRUE(hasUnsavedChanges(*state)) << "the definitions found are not stored yet";
    EXPECT_EQ(window->actionFor(command::Undo)->text(), "&Undo ROM Scan\tCtrl+Z");
    prompts.answers.push_back(Answer::Cancel);
    window->close();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].title, "Unsaved Changes");

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state->workingImage.entryCount, 11);
    window->close();
    EXPECT_FALSE(window->isVisible()) << "undone back to the files: nothing to ask";
    EXPECT_EQ(prompts.questions.size(), 1u);
}

TEST_F(MainWindowTest, the_edit_menu_is_named_after_the_steps_and_the_keys_undo_and_redo_them)
{
    ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
    window->openImage(dir.file("sample.bin"));
    QAction* undo = window->actionFor(command::Undo);
    QAction* redo = window->actionFor(command::Redo);
    EXPECT_FALSE(undo->isEnabled());
    RomImage& rom = state->workingImage;
    rom.image[0x9141] = 0x42;
    state->history.record(rom, "Edit Constant");
    rom.image[0x9000] = 7;
    state->history.record(rom, "Drag Point");
    window->updateEditMenu();
    EXPECT_EQ(undo->text(), "&Undo Drag Point\tCtrl+Z");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(redo->text(), "&Redo\tCtrl+Y");
    EXPECT_FALSE(redo->isEnabled());

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(rom.image[0x9000], 7);
    EXPECT_EQ(undo->text(), "&Undo Edit Constant\tCtrl+Z");
    EXPECT_EQ(redo->text(), "&Redo Drag Point\tCtrl+Y");
    undo->trigger();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_NE(rom.image[0x9141], 0x42);
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(rom.image[0x9141], 0x42);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(rom.image[0x9000], 7);
    EXPECT_FALSE(redo->isEnabled());
}

TEST_F(MainWindowTest, the_quick_viewer_opens_after_every_load_and_says_when_there_is_nothing_to_view)
{
    window->runCommand(command::LoadWorkingImage);  // cancelled: still opens, on no tables
    EXPECT_TRUE(dialogsShown.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "No Table Data to View");

    ASSERT_TRUE(sample::writeSampleFiles(dir.path().string()));
    prompts.openNames.push_back(dir.file("sample.bin"));
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(dialogsShown, (std::vector<QString>{"174", "174"}));
    EXPECT_EQ(lastDialogTitle.left(14), "Quick Viewer -");
}

TEST_F(MainWindowTest, exit_closes_through_the_guard)
{
    window->actionFor(command::Exit)->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(prompts.questions.empty());
}

}  // namespace
}  // namespace tavo
