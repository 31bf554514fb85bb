#pragma once
// How a modal dialog is run: exec() in the program; tests put a function in
// its place that looks at the dialog instead of blocking on it.

#include <QDialog>

#include <functional>

namespace tavo {

// Runs the dialog modally; returns its result.
using ModalRunner = std::function<int(QDialog&)>;

inline int execModal(QDialog& dialog)
{
    return dialog.exec();
}

}  // namespace tavo
