#include "app/AppState.h"

namespace tavo {

bool hasUnsavedChanges(const AppState& state)
{
    return state.workingImage.image != state.pristineImage;
}

void markWorkingImageSaved(AppState& state)
{
    state.pristineImage = state.workingImage.image;
}

}  // namespace tavo
