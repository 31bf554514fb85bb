#pragma once
// The undo keys of a window that edits the working image: Ctrl+Z takes the
// last step back, Ctrl+Y and Ctrl+Shift+Z do it again.

#include <functional>

class QWidget;

namespace tavo {

void addUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo);

// A text field whose edits go straight into the image leaves the undo keys to
// its window: its own text undo would change the image behind the history's back.
void leaveUndoKeysToWindow(QWidget* field);

}  // namespace tavo
