#pragma once
// Pieces the definition dialogs share: the definition texts on Qt controls
// and the OK / Cancel row.

#include <QString>

#include <string>
#include <string_view>

class QDialog;
class QLayout;

namespace tavo {

// Definition texts are byte strings as the .tbl file holds them; each byte is
// shown as one Latin-1 character, so confirming a dialog without edits gives
// back exactly the bytes that were there, and a cut by characters is a cut by
// bytes.
QString recordText(std::string_view text);
std::string recordBytes(const QString& text);

// "OK" (the default button, objectName "okButton") and "Cancel"
// ("cancelButton"), right-aligned, wired to accept and reject.
QLayout* okCancelRow(QDialog* dialog);

}  // namespace tavo
