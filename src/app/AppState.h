#pragma once
// Everything the program keeps for its whole run, created once at start-up
// and passed by reference; tests make their own.

#include <memory>
#include <string>

#include "link/EcmLink.h"
#include "link/LiveRam.h"
#include "logging/Acquisition.h"
#include "logging/LoggingConfig.h"
#include "rom/EditHistory.h"
#include "rom/RomImage.h"
#include "tables/ScalePercentages.h"
#include "tables/TableDef.h"
#include "viewer/QuickViewerState.h"

namespace tavo {

struct AppState {
    RomImage workingImage;
    RomImage comparisonImage;
    // The working image's 64 KiB as last loaded or saved: the baseline of the
    // unsaved-changes question for the bytes (the definitions keep theirs in
    // the record, storedDefinitions).
    ImageBuffer pristineImage{};
    // Undo and redo of the working image's edits; a load starts it anew.
    EditHistory history;
    // Set once a comparison image has been loaded; its curve is then drawn
    // behind every graphed table.
    bool comparisonLoaded = false;
    // The image the analysis dialogs work on.
    RomImage* analysisImage = nullptr;
    ScalePercentages scalePercentages;
    QuickViewerState quickViewer;
    // The channels, configuration name and serial settings of Logging.cfg.
    LoggingConfig loggingConfig;
    // The ECM link as the link thread last reported it (linkConnected,
    // linkSynced, ramMirror). The link thread owns the real state; this copy
    // is written on the GUI thread only.
    LinkState link;
    // The Live RAM display's position and period, kept across openings.
    LiveRamState liveRam;
    // The sample ring, its position, the channel mask, the rate and the LOG
    // and Smoothing flags, kept across openings of the Data Logging dialog.
    // While the dialog runs, the link thread samples into a copy of it and
    // each tick's outcome is applied here, on the GUI thread, in tick order.
    AcquisitionState acquisition;
    // Where "&Save..." writes log files; empty: "TaVO Logs" in the user's
    // documents folder.
    std::string logFolder;
    // When set (tavo --serial-device, --simulated-ecm), every port number
    // opens this device for the run.
    std::string serialDevice;
    // A Logging.cfg that could not be written has been reported (once a run).
    bool loggingConfigFailureReported = false;
};

// Any byte of the working image's 64 KiB differs from the pristine copy.
bool imageBytesUnsaved(const AppState& state);
// The unsaved-changes test: changed bytes, or definitions or ROM information
// that differ from what the .tbl file held when last read or written.
bool hasUnsavedChanges(const AppState& state);
void markWorkingImageSaved(AppState& state);
// A working image was loaded: its bytes are the saved ones, and its history
// starts anew.
void startWorkingImage(AppState& state);

}  // namespace tavo
