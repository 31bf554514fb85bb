#pragma once
// What the windows' "reply 4.8 ms" label says, as a number.

#include <QRegularExpression>
#include <QString>

namespace tavo::test {

// The milliseconds of a "reply 4.8 ms" label, or -1 when it says something else.
inline double replyLabelMs(const QString& text)
{
    static const QRegularExpression shape(R"(^reply (\d+(\.\d+)?) ms$)");
    const QRegularExpressionMatch match = shape.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}

}  // namespace tavo::test
