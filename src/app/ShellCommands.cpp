#include "app/ShellCommands.h"

#include <filesystem>
#include <ostream>

#include "app/AppState.h"
#include "rom/RomImage.h"
#include "rom/RomInformation.h"
#include "rom/RomPrompts.h"
#include "rom/RomSaver.h"
#include "tables/TableFileWriter.h"

namespace tavo {

std::optional<LoadOutcome> loadWorkingImage(AppState& state, RomPrompts& prompts)
{
    if (!settleUnsavedChanges(state, prompts))
        return std::nullopt;
    const LoadOutcome outcome = loadRomImage(state.workingImage, prompts);
    if (outcome == LoadOutcome::Loaded)
        startWorkingImage(state);
    return outcome;
}

LoadOutcome loadWorkingImageFrom(AppState& state, const std::string& path, RomPrompts& prompts)
{
    const LoadOutcome outcome = loadRomImageFrom(state.workingImage, path, prompts);
    if (outcome == LoadOutcome::Loaded)
        startWorkingImage(state);
    return outcome;
}

std::optional<ScanResult> scanWorkingImage(AppState& state, RomPrompts& prompts)
{
    if (!settleUnsavedChanges(state, prompts))
        return std::nullopt;
    RomImage& rom = state.workingImage;
    // The image loaded is as its files hold it; what the scan adds is one
    // step, and an unsaved change until the definitions are stored.
    if (loadRomImage(rom, prompts) == LoadOutcome::Loaded)
        startWorkingImage(state);
    if (!rom.loaded)
        return ScanResult{};
    ScanResult result = scanLoadedImage(rom);
    state.history.record(rom, kRomScanStep);
    if (result.stoppedAtCapacity)
        prompts.showMessage(kScanTableListFull, "TaVO", MessageIcon::Warning);
    return result;
}

void editWorkingRomInformation(AppState& state, RomPrompts& prompts)
{
    RomImage& rom = state.workingImage;
    editRomInformation(rom, prompts);
    state.history.record(rom, state.history.bytesChanged(rom) ? kRelocateStep : kRomInformationStep);
}

void loadComparisonImage(AppState& state, RomPrompts& prompts)
{
    loadRomImage(state.comparisonImage, prompts);
    if (state.comparisonImage.loaded)
        state.comparisonLoaded = true;
}

bool saveWorkingImage(AppState& state, UserPrompts& prompts)
{
    if (!saveRomImage(state.workingImage, prompts))
        return false;
    markWorkingImageSaved(state);
    return true;
}

bool saveWorkingImageAs(AppState& state, UserPrompts& prompts)
{
    if (!saveRomImageAs(state.workingImage, prompts))
        return false;
    markWorkingImageSaved(state);
    return true;
}

bool saveTableData(AppState& state, UserPrompts& prompts)
{
    // Before any image was chosen there is no definition file to write.
    if (state.workingImage.tblPath.empty())
        return false;
    return storeTableFile(state.workingImage, prompts);
}

bool settleUnsavedChanges(AppState& state, UserPrompts& prompts)
{
    const bool bytes = imageBytesUnsaved(state);
    const bool definitions = definitionsUnsaved(state.workingImage);
    if (!bytes && !definitions)
        return true;
    switch (prompts.ask("Do you want to save your changes now?", "Unsaved Changes",
                        QuestionButtons::YesNoCancel)) {
    case Answer::Cancel:
        return false;
    case Answer::No:
        return true;
    case Answer::Yes:
        break;
    }
    // What changed is saved: the image, the .tbl file, or both; a save that
    // fails stops here.
    if (bytes && !saveWorkingImage(state, prompts))
        return false;
    return !definitions || saveTableData(state, prompts);
}

CloseDecision confirmClose(AppState& state, UserPrompts& prompts)
{
    return settleUnsavedChanges(state, prompts) ? CloseDecision::Close : CloseDecision::Stay;
}

namespace {

void reportLoggingConfigFailure(AppState& state, const std::string& path, const FileStatus& status,
                                std::ostream& err)
{
    if (state.loggingConfigFailureReported)
        return;
    state.loggingConfigFailureReported = true;
    std::error_code ec;
    const auto where = std::filesystem::absolute(path, ec);
    err << "tavo: unable to write " << (ec ? path : where.string()) << ": " << status.reason()
        << " The logging settings will not be kept after this run.\n";
}

}  // namespace

void loadLoggingConfiguration(AppState& state, const std::string& path, std::ostream& err)
{
    setLoggingDefaults(state.loggingConfig);
    if (const FileStatus status = readLoggingConfig(state.loggingConfig, path); !status)
        reportLoggingConfigFailure(state, path, status, err);
}

bool storeLoggingConfiguration(AppState& state, const std::string& path, std::ostream& err)
{
    const FileStatus status = writeLoggingConfig(state.loggingConfig, path);
    if (!status)
        reportLoggingConfigFailure(state, path, status, err);
    return status.ok();
}

}  // namespace tavo
