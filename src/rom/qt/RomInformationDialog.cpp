#include "rom/qt/RomInformationDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/qt/UndoKeys.h"
#include "common/qt/QtText.h"
#include "rom/RomImage.h"
#include "rom/RomInformation.h"

namespace tavo {

namespace {

std::string text(const QLineEdit* edit)
{
    return recordBytes(edit->text());
}

QLineEdit* field(int id, const std::string& value, QWidget* parent)
{
    auto* edit = new QLineEdit(recordText(value), parent);
    edit->setObjectName(QString::number(id));
    return edit;
}

QRadioButton* radio(int id, const char* label, QWidget* parent)
{
    auto* button = new QRadioButton(label, parent);
    button->setObjectName(QString::number(id));
    return button;
}

QWidget* withUnit(QLineEdit* edit, const char* unit, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit);
    layout->addWidget(new QLabel(unit, row));
    return row;
}

}  // namespace

RomInformationDialog::RomInformationDialog(RomImage& record, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), record_(record), prompts_(prompts)
{
    setWindowTitle("ROM Information");
    addTextUndoKeys(this);
    setObjectName("130");
    setWindowIcon(QIcon(":/tavo-icon.png"));
    const RomInformationForm form = romInformationForm(record);

    offset_ = field(kOffsetId, form.offset, this);
    description_ = field(kDescriptionId, form.description, this);
    author_ = field(kAuthorId, form.author, this);
    injectors_ = field(kInjectorsId, form.injectors, this);
    boost_ = field(kBoostId, form.boost, this);

    auto* mapBox = new QGroupBox("MAP Sensor:", this);
    map2_ = radio(kMap2BarId, "2 Bar", mapBox);
    map25_ = radio(kMap25BarId, "2.5 Bar", mapBox);
    map3_ = radio(kMap3BarId, "3 Bar", mapBox);
    // An exclusive group may start with none checked: a record without a MAP
    // range shows no choice.
    auto* group = new QButtonGroup(mapBox);
    group->setExclusive(true);
    for (QRadioButton* button : {map2_, map25_, map3_})
        group->addButton(button);
    auto* mapLayout = new QHBoxLayout(mapBox);
    mapLayout->addWidget(map2_);
    mapLayout->addWidget(map25_);
    mapLayout->addWidget(map3_);
    map2_->setChecked(form.mapRange == kMap2Bar);
    map25_->setChecked(form.mapRange == kMap25Bar);
    map3_->setChecked(form.mapRange == kMap3Bar);

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(":/tavo-icon.png"));

    auto* fields = new QFormLayout;
    // The texts take the dialog's width, not their own small size.
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    fields->addRow("Offset in memory for this ROM image:", offset_);
    fields->addRow("Description:", description_);
    fields->addRow("Author:", author_);
    fields->addRow("Injectors:", withUnit(injectors_, "PPH", this));
    fields->addRow("Boost:", withUnit(boost_, "PSI", this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(fields);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(mapBox);
    layout->addWidget(buttons);
    setMinimumWidth(600);
    // A long text shows its beginning.
    description_->setCursorPosition(0);
    author_->setCursorPosition(0);
}

void RomInformationDialog::accept()
{
    RomInformationForm form;
    form.offset = text(offset_);
    form.description = text(description_);
    form.author = text(author_);
    form.injectors = text(injectors_);
    form.boost = text(boost_);
    form.mapRange = map2_->isChecked() ? kMap2Bar : map25_->isChecked() ? kMap25Bar
                  : map3_->isChecked() ? kMap3Bar : 0;
    acceptRomInformation(record_, form, prompts_);
    QDialog::accept();
}

}  // namespace tavo
