#pragma once
// Pieces the definition dialogs share: the definition texts on Qt controls
// and the OK / Cancel row.

#include <QString>

#include "common/qt/QtText.h"

#include <string>
#include <string_view>

class QDialog;
class QLayout;
class QLineEdit;
class QWidget;

namespace tavo {

// An edit holding a definition text, named for tests and readers.
QLineEdit* recordEdit(QWidget* owner, const QString& objectName, std::string_view text);

// "OK" (the default button, objectName "okButton") and "Cancel"
// ("cancelButton"), right-aligned, wired to accept and reject.
QLayout* okCancelRow(QDialog* dialog);

}  // namespace tavo
