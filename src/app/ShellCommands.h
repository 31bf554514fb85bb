#pragma once
// What the File menu's commands and the unsaved-changes guard do to the
// application state; the main window only adds the dialogs around them.

#include "rom/RomLoader.h"

namespace tavo {

struct AppState;
class UserPrompts;

// "Load Working ROM Image...": the pristine copy follows only a load that
// succeeded, so a cancelled or refused load never hides unsaved edits.
LoadOutcome loadWorkingImage(AppState& state, UserPrompts& prompts);

// The same for a path already chosen (an image named on the command line).
LoadOutcome loadWorkingImageFrom(AppState& state, const std::string& path, UserPrompts& prompts);

// "Load Comparison ROM Image...": the comparison curve is drawn from then on,
// once a comparison image has actually been read.
void loadComparisonImage(AppState& state, UserPrompts& prompts);

// "Save ROM Image" and "Save ROM Image As...": the pristine copy follows a
// save that succeeded.
bool saveWorkingImage(AppState& state, UserPrompts& prompts);
bool saveWorkingImageAs(AppState& state, UserPrompts& prompts);

// "Save Table Data...": writes the working image's definition file.
bool saveTableData(AppState& state, UserPrompts& prompts);

enum class CloseDecision { Close, Stay };

// The unsaved-changes guard on closing the main window: asks when any byte
// of the working image differs from the pristine copy. Yes saves; when that
// save fails the window stays open, so nothing is lost.
CloseDecision confirmClose(AppState& state, UserPrompts& prompts);

// Start-up: logging defaults, then Logging.cfg from the given path (created
// from the defaults when missing).
void loadLoggingConfiguration(AppState& state, const std::string& path);

}  // namespace tavo
