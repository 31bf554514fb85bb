#include "app/MenuLayout.h"

#include "app/CommandIds.h"

namespace tavo {

namespace {

MenuEntry item(std::string text, int id, bool enabled = true)
{
    return MenuEntry{MenuEntry::Kind::Command, std::move(text), id, enabled, {}};
}

MenuEntry separator()
{
    return MenuEntry{MenuEntry::Kind::Separator, {}, 0, true, {}};
}

MenuEntry popup(std::string text, std::vector<MenuEntry> children)
{
    return MenuEntry{MenuEntry::Kind::Popup, std::move(text), 0, true, std::move(children)};
}

std::string stepEntryText(std::string_view verb, std::string_view stepName, std::string_view keys)
{
    std::string text(verb);
    if (!stepName.empty()) {
        text += ' ';
        text += stepName;
    }
    text += '\t';
    text += keys;
    return text;
}

}  // namespace

const std::vector<MenuEntry>& mainMenu()
{
    static const std::vector<MenuEntry> menu = {
        popup("&File",
              {
                  item("&Load Working ROM Image...\tCtrl+L", command::LoadWorkingImage),
                  item("&Edit ROM Information...\tCtrl+E", command::EditRomInformation),
                  item("Save ROM Image\tCtrl+R", command::SaveRomImage),
                  item("Save ROM Image As...", command::SaveRomImageAs),
                  separator(),
                  item("Print Report...\tCtrl+P", command::PrintReport, false),
                  separator(),
                  item("&Load Comparison ROM Image...", command::LoadComparisonImage),
                  item("&Write NEW ROM Image...", command::WriteNewRomImage),
                  separator(),
                  item("&Save Table Data...\tCtrl+S", command::SaveTableData),
                  separator(),
                  item("E&xit\tAlt+F4", command::Exit),
              }),
        // Named after the step they would take while there is one.
        popup("&Edit",
              {
                  item(undoEntryText({}), command::Undo, false),
                  item(redoEntryText({}), command::Redo, false),
              }),
        popup("&Tables",
              {
                  item("&QuickViewer...\tCtrl+T", command::QuickViewer),
                  separator(),
                  item("ROM Scan...", command::RomScan),
              }),
        popup("&DataLogging",
              {
                  item("&Data Log...\tCtrl+D", command::DataLog),
                  item("&Live RAM Display...", command::LiveRamDisplay),
                  item("Save Current Log...", command::SaveCurrentLog),
                  item("&Open Log...\tCtrl+O", command::OpenLog),
                  separator(),
                  item("Setup Logging...", command::SetupLogging),
                  item("Setup Serial...", command::SetupSerial),
              }),
        popup("T&ools",
              {
                  popup("&Assembly",
                        {
                            item("&Disassemble ROM...", command::DisassembleRom, false),
                            item("&Edit Source Code...", command::EditSourceCode, false),
                            item("&Assemble Source Code...", command::AssembleSourceCode, false),
                        }),
                  popup("Analysis",
                        {
                            item("Fueling...", command::Fueling),
                            item("Timing...", command::Timing),
                        }),
              }),
        popup("&Help",
              {
                  item("&About...\tAlt+F1", command::About),
              }),
    };
    return menu;
}

const std::vector<Accelerator>& accelerators()
{
    static const std::vector<Accelerator> table = {
        {"Ctrl+L", command::LoadWorkingImage}, {"Ctrl+E", command::EditRomInformation},
        {"Ctrl+R", command::SaveRomImage},     {"Ctrl+S", command::SaveTableData},
        {"Ctrl+T", command::QuickViewer},      {"Ctrl+D", command::DataLog},
        {"Ctrl+O", command::OpenLog},
        {"Alt+F1", command::About},            {"Alt+/", command::About},
        {"Alt+?", command::About},             {"Ctrl+Z", command::Undo},
        {"Ctrl+Y", command::Redo},             {"Ctrl+Shift+Z", command::Redo},
    };
    return table;
}

std::string undoEntryText(std::string_view stepName)
{
    return stepEntryText("&Undo", stepName, "Ctrl+Z");
}

std::string redoEntryText(std::string_view stepName)
{
    return stepEntryText("&Redo", stepName, "Ctrl+Y");
}

}  // namespace tavo
