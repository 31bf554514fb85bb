#include "app/qt/PlaceholderDialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavo {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// A group of labelled file-name fields, each with a "?" button.
QGroupBox* fileFields(const char* title, std::initializer_list<const char*> labels, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const char* label : labels) {
        grid->addWidget(new QLabel(label, group), row, 0);
        grid->addWidget(new QLineEdit(group), row, 1);
        grid->addWidget(new QPushButton("?", group), row, 2);
        ++row;
    }
    return group;
}

QGroupBox* choices(const char* title, std::initializer_list<const char*> labels, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    for (const char* label : labels)
        layout->addWidget(new QRadioButton(label, group));
    return group;
}

}  // namespace

std::unique_ptr<QDialog> makeDisassembleDialog(QWidget* parent)
{
    auto owned = std::make_unique<QDialog>(parent);
    QDialog* dialog = owned.get();
    dialog->setWindowTitle("Disassemble ROM");
    dialog->setObjectName("178");
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(fileFields("Source Files:", {"Symbols:", "Comments:"}, dialog));
    layout->addWidget(fileFields("Output Files:", {"Listing:", "Refs:"}, dialog));
    layout->addWidget(choices("Listing Type:", {"Static (for analysing)", "Relocateable (for recompile)"}, dialog));
    layout->addWidget(choices("Static", {"6803 (to 1987)", "6811 (1988 +)"}, dialog));
    auto* note = new QLabel("This function will disassemble the currently loaded ROM image. It will still "
                            "work if you do not have symbol or comment files.",
                            dialog);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(okCancel(dialog));
    return owned;
}

std::unique_ptr<QDialog> makeEmptyPlaceholderDialog(int dialogId, const QString& title, QWidget* parent)
{
    auto owned = std::make_unique<QDialog>(parent);
    QDialog* dialog = owned.get();
    dialog->setWindowTitle(title);
    dialog->setObjectName(QString::number(dialogId));
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(okCancel(dialog));
    dialog->resize(240, 120);
    return owned;
}

}  // namespace tavo
