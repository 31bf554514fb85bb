#pragma once
// Dialogs of tools that have no function yet: they show their controls and
// close with OK or Cancel, doing nothing else.

#include <QDialog>

#include <memory>

namespace tavo {

// "Disassemble ROM" (dialog 178) with its file fields and listing choices.
std::unique_ptr<QDialog> makeDisassembleDialog(QWidget* parent);
// Dialogs 179 and 180, titled "Dialog", and "Timing" (dialog 183): OK and Cancel only.
std::unique_ptr<QDialog> makeEmptyPlaceholderDialog(int dialogId, const QString& title, QWidget* parent);

}  // namespace tavo
