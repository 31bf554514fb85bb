#pragma once
// A dialog's control found by its numeric id (the object name the dialogs
// give their controls); a missing control fails the test that asked for it.

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

namespace tavo::test {

template <typename Widget>
Widget* child(QWidget& parent, int id)
{
    auto* widget = parent.findChild<Widget*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}

}  // namespace tavo::test
