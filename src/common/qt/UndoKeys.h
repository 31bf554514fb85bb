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

// The same keys in a dialog that changes nothing before its OK: they undo and
// redo typing in the text field that has the focus (its own undo; the
// fields take Ctrl+Z and Ctrl+Shift+Z themselves, Ctrl+Y is added).
void addTextUndoKeys(QWidget* dialog);

}  // namespace tavo
