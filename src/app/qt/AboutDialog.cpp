#include "app/qt/AboutDialog.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tavo {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("About TaVO");
    setObjectName(QString::number(kDialogId));

    auto* picture = new QLabel(this);
    picture->setObjectName("135");
    picture->setPixmap(QPixmap(":/about-turbine.png"));
    auto* badge = new QLabel(this);
    badge->setObjectName("151");
    badge->setPixmap(QPixmap(":/about-badge.png"));

    auto* heading = new QLabel("TaVO", this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.6);
    heading->setFont(headingFont);

    auto* warning = new QGroupBox(this);
    warning->setFlat(false);
    auto* warningLayout = new QVBoxLayout(warning);
    for (const char* text :
         {"WARNING! WARNING! WARNING!",
          "Indiscriminate modification of Constants and Table Data could result in the destruction "
          "of your engine, other property damage, injury, or loss of life.",
          "Your use of this software implies that you understand this potential danger and absolve "
          "the authors and distributors of all claims or damages resulting from the use thereof."}) {
        auto* label = new QLabel(text, warning);
        label->setWordWrap(true);
        warningLayout->addWidget(label);
    }

    auto* headerRow = new QHBoxLayout;
    headerRow->addWidget(heading);
    headerRow->addStretch();
    headerRow->addWidget(badge, 0, Qt::AlignTop | Qt::AlignRight);

    auto* texts = new QVBoxLayout;
    texts->addLayout(headerRow);
    // One sentence: two lines of one paragraph.
    for (const char* paragraph : {"This product is NOT developed, distributed,\nor endorsed by Daimler-Chrysler.",
                                  "Build 2006.195"})
        texts->addWidget(new QLabel(paragraph, this));
    texts->addWidget(warning);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    texts->addWidget(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(texts);
    setFixedWidth(520);
}

}  // namespace tavo
