#pragma once
// Whether text measures as a real font's does. Qt's offscreen platform on
// Windows (the cross build's GUI tests under Wine) finds no font and draws
// every character as the same box, so tests of how text fits skip there.

#include <QApplication>
#include <QFontMetrics>

namespace tavo::test {

inline bool realFontsAtHand()
{
    const QFontMetrics metrics(QApplication::font());
    return metrics.horizontalAdvance(QStringLiteral("iiii")) != metrics.horizontalAdvance(QStringLiteral("WWWW"));
}

}  // namespace tavo::test
