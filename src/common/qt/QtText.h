#pragma once
// Text between the records and Qt's widgets.
//
// Definition and ROM information texts are byte strings as the .tbl file
// holds them; each byte is shown as one Latin-1 character, so confirming a
// dialog without edits gives back exactly the bytes that were there, and a
// cut by characters is a cut by bytes. File paths are in the system's own
// 8-bit encoding.

#include <QString>
#include <string>
#include <string_view>

namespace tavo {

inline QString recordText(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string recordBytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

inline QString pathText(std::string_view path)
{
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

inline std::string pathBytes(const QString& path)
{
    return path.toLocal8Bit().toStdString();
}

}  // namespace tavo
