#pragma once
// The look every window of the program shares: the program icon, and the
// platform's style with dialog buttons that show no icons (message boxes and
// Qt's file dialogs included), like the program's own OK / Cancel rows.

class QApplication;
class QIcon;
class QStyle;

namespace tavo {

// The program's style on top of `base` (the platform's default when null);
// the result owns `base`.
QStyle* makeProgramStyle(QStyle* base = nullptr);

// The program icon, in every size it is drawn in.
QIcon programIcon();

// Makes the program's style and icon the application's.
void applyProgramLook(QApplication& app);

}  // namespace tavo
