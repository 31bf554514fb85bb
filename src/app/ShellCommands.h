#pragma once
// What the File menu's commands and the unsaved-changes guard do to the
// application state; the main window only adds the dialogs around them.

#include <iostream>
#include <optional>

#include "rom/RomLoader.h"
#include "rom/RomScan.h"

namespace tavo {

struct AppState;
class UserPrompts;
class RomPrompts;

// The unsaved-changes guard, before anything replaces or closes an edited
// working image: when any byte of its 64 KiB differs from the pristine copy,
// asks "Do you want to save your changes now?" (Yes, No, Cancel). True to go
// on: no edits, No, or Yes and a save that succeeded. False, with everything
// as it was, for Cancel or a save that failed.
bool settleUnsavedChanges(AppState& state, UserPrompts& prompts);

// "Load Working ROM Image...": the guard first; nothing when it stops the
// load. The pristine copy follows only a load that succeeded, so a cancelled
// or refused load never hides unsaved edits.
std::optional<LoadOutcome> loadWorkingImage(AppState& state, RomPrompts& prompts);

// Loads a path already chosen (an image named on the command line at start-up).
LoadOutcome loadWorkingImageFrom(AppState& state, const std::string& path, RomPrompts& prompts);

// "ROM Scan...": the guard first, as the scan loads an image into the working
// record; nothing when it stops. The scan does not refresh the pristine copy.
std::optional<ScanResult> scanWorkingImage(AppState& state, RomPrompts& prompts);

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
