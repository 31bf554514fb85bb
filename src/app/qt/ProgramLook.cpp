#include "app/qt/ProgramLook.h"

#include <QApplication>
#include <QIcon>
#include <QProxyStyle>

namespace tavo {

namespace {

class ProgramStyle : public QProxyStyle {
public:
    explicit ProgramStyle(QStyle* base) : QProxyStyle(base) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        // Some desktop themes put icons on standard dialog buttons only.
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

QStyle* makeProgramStyle(QStyle* base)
{
    return new ProgramStyle(base);
}

QIcon programIcon()
{
    QIcon icon(QStringLiteral(":/tavo-icon.png"));
    icon.addFile(QStringLiteral(":/tavo-icon-128.png"));
    return icon;
}

void applyProgramLook(QApplication& app)
{
    app.setStyle(makeProgramStyle());
    app.setWindowIcon(programIcon());
}

}  // namespace tavo
