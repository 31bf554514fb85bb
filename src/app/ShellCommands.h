#pragma once
// What the File menu's commands and the unsaved-changes guard do to the
// application state; the main window only adds the dialogs around them.

#include <iostream>
#include <optional>
#include <string_view>

#include "rom/RomLoader.h"
#include "rom/RomScan.h"

namespace tavo {

struct AppState;
class UserPrompts;
class RomPrompts;

// Names of the steps the shell's commands record.
inline constexpr std::string_view kRomScanStep = "ROM Scan";
inline constexpr std::string_view kRomInformationStep = "ROM Information";
inline constexpr std::string_view kRelocateStep = "Relocate Image";

// The unsaved-changes guard, before anything replaces or closes an edited
// working image: when any byte of its 64 KiB differs from the pristine copy,
// or its definitions or ROM information differ from what its .tbl file held
// when last read or written, asks "Do you want to save your changes now?"
// (Yes, No, Cancel). Yes saves what changed: the image, the .tbl file or
// both. True to go on: no changes, No, or Yes and saves that succeeded.
// False, with everything as it was, for Cancel or a save that failed.
bool settleUnsavedChanges(AppState& state, UserPrompts& prompts);

// "Load Working ROM Image...": the guard first; nothing when it stops the
// load. The pristine copy and a new history follow only a load that
// succeeded, so a cancelled or refused load never hides unsaved edits.
std::optional<LoadOutcome> loadWorkingImage(AppState& state, RomPrompts& prompts);

// Loads a path already chosen (an image named on the command line at start-up).
LoadOutcome loadWorkingImageFrom(AppState& state, const std::string& path, RomPrompts& prompts);

// "ROM Scan...": the guard first, as the scan loads an image into the working
// record; nothing when it stops. An image loaded starts a new history as any
// load does; the definitions found are one step ("ROM Scan") and unsaved
// until the definitions are stored.
std::optional<ScanResult> scanWorkingImage(AppState& state, RomPrompts& prompts);

// "Edit ROM Information...": the dialog and the offer to move the image, as
// one step ("Relocate Image" when the image moved, else "ROM Information").
void editWorkingRomInformation(AppState& state, RomPrompts& prompts);

// "Load Comparison ROM Image...": the comparison curve is drawn from then on,
// once a comparison image has actually been read.
void loadComparisonImage(AppState& state, RomPrompts& prompts);

// "Save ROM Image" and "Save ROM Image As...": the pristine copy follows a
// save that succeeded.
bool saveWorkingImage(AppState& state, UserPrompts& prompts);
bool saveWorkingImageAs(AppState& state, UserPrompts& prompts);

// "Save Table Data...": writes the working image's definition file.
bool saveTableData(AppState& state, UserPrompts& prompts);

enum class CloseDecision { Close, Stay };

// Closing the main window passes the guard; when its save fails the window
// stays open, so nothing is lost.
CloseDecision confirmClose(AppState& state, UserPrompts& prompts);

// Start-up: logging defaults, then Logging.cfg from the given path (created
// from the defaults when missing). A file that cannot be created is said on
// `err`, once a run: the settings hold for this run but will not be kept.
void loadLoggingConfiguration(AppState& state, const std::string& path, std::ostream& err = std::cerr);

// Writes Logging.cfg; a failure is said on `err` the first time only.
bool storeLoggingConfiguration(AppState& state, const std::string& path, std::ostream& err = std::cerr);

}  // namespace tavo
