#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QProxyStyle>
#include <QPushButton>
#include <memory>

#include "app/qt/ProgramLook.h"

namespace tavo {
namespace {

// A platform style whose theme puts icons on standard dialog buttons.
class IconButtonsStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

TEST(ProgramLook, standard_dialog_buttons_show_no_icons_where_the_platform_would_add_them)
{
    std::unique_ptr<QStyle> platform = std::make_unique<IconButtonsStyle>();
    std::unique_ptr<QStyle> program(makeProgramStyle(new IconButtonsStyle));
    for (QStyle* style : {platform.get(), program.get()}) {
        QDialogButtonBox box;
        box.setStyle(style);
        box.setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        const bool icons = !box.button(QDialogButtonBox::Ok)->icon().isNull();
        EXPECT_EQ(icons, style == platform.get());
    }
}

}  // namespace
}  // namespace tavo
