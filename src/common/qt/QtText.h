#pragma once
// Text between the records (8-bit strings in the local encoding, as the
// files hold them) and Qt's widgets.

#include <QString>
#include <string>
#include <string_view>

namespace tavo {

inline QString toQString(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toStdString(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

}  // namespace tavo
