#include "app/AppState.h"

#include "tables/TableFileWriter.h"

namespace tavo {

bool imageBytesUnsaved(const AppState& state)
{
    return state.workingImage.image != state.pristineImage;
}

bool hasUnsavedChanges(const AppState& state)
{
    return imageBytesUnsaved(state) || definitionsUnsaved(state.workingImage);
}

void markWorkingImageSaved(AppState& state)
{
    state.pristineImage = state.workingImage.image;
}

void startWorkingImage(AppState& state)
{
    markWorkingImageSaved(state);
    state.history.restart(state.workingImage);
}

}  // namespace tavo
