#include "app/qt/QtPrompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <algorithm>

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
    // A folder is where the chooser starts, with no name chosen yet.
    if (!request.initialPath.empty() && !QFileInfo(pathText(request.initialPath)).isDir())
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

std::optional<ChosenFile> QtPrompts::chooseFileToSaveAs(const FileRequest& request)
{
    QStringList filters{filterOf(request)};
    for (const FileFilter& more : request.moreFilters)
        filters << recordText(more.name) + " (" + recordText(more.pattern) + ")";
    QFileDialog dialog(owner_, recordText(request.title), pathText(request.initialPath));
    dialog.setNameFilters(filters);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmReplace);
    // A name typed without an extension gets the chosen filter's, before
    // the dialog asks about replacing a file.
    auto suffixOf = [](const QString& filter) {
        const qsizetype dot = filter.lastIndexOf("*.");
        return dot < 0 ? QString() : filter.mid(dot + 2).section(')', 0, 0).section(' ', 0, 0);
    };
    dialog.setDefaultSuffix(suffixOf(filters.first()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixOf](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (!request.initialPath.empty())
        dialog.selectFile(pathText(request.initialPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const qsizetype filter = filters.indexOf(dialog.selectedNameFilter());
    return ChosenFile{pathBytes(dialog.selectedFiles().first()), static_cast<std::size_t>(std::max<qsizetype>(filter, 0))};
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
