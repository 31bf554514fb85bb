#include "app/qt/QtPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QString>

#include "common/qt/QtText.h"

#include "rom/qt/RomInformationDialog.h"

namespace tavo {

namespace {

QString filterOf(const FileRequest& request)
{
    return recordText(request.filterName) + " (" + recordText(request.pattern) + ")";
}

}  // namespace

std::optional<std::string> QtPrompts::chooseFileToOpen(const FileRequest& request)
{
    // The chosen file need not exist: a name typed in is taken as it is.
    QFileDialog dialog(owner_, recordText(request.title), pathText(request.initialPath), filterOf(request));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!request.initialPath.empty())
        dialog.selectFile(pathText(request.initialPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return pathBytes(dialog.selectedFiles().first());
}

std::optional<std::string> QtPrompts::chooseFileToSave(const FileRequest& request)
{
    QFileDialog dialog(owner_, recordText(request.title), pathText(request.initialPath), filterOf(request));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Replacing an existing image asks nothing, and no extension is added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.initialPath.empty())
        dialog.selectFile(pathText(request.initialPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return pathBytes(dialog.selectedFiles().first());
}

void QtPrompts::showMessage(std::string_view text, std::string_view title, MessageIcon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::Information;
    switch (icon) {
    case MessageIcon::Information: qtIcon = QMessageBox::Information; break;
    case MessageIcon::Warning: qtIcon = QMessageBox::Warning; break;
    case MessageIcon::Error: qtIcon = QMessageBox::Critical; break;
    case MessageIcon::Question: qtIcon = QMessageBox::Question; break;
    }
    QMessageBox box(qtIcon, recordText(title), recordText(text), QMessageBox::Ok, owner_);
    box.exec();
}

Answer QtPrompts::ask(std::string_view text, std::string_view title, QuestionButtons buttons)
{
    QMessageBox::StandardButtons choices = QMessageBox::Yes | QMessageBox::No;
    if (buttons == QuestionButtons::YesNoCancel)
        choices |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, recordText(title), recordText(text), choices, owner_);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return buttons == QuestionButtons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

bool QtPrompts::runRomInformation(RomImage& record)
{
    RomInformationDialog dialog(record, *this, owner_);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompts::repaint()
{
    if (repaint_)
        repaint_();
}

}  // namespace tavo
