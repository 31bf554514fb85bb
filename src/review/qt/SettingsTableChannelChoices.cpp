#include "review/qt/SettingsTableChannelChoices.h"

#include <QSettings>
#include <QUrl>

namespace tavo {

namespace {

// A name may hold "/" (a settings group separator): percent-encoded it is one key.
QString keyFor(std::string_view table)
{
    const QByteArray bytes(table.data(), static_cast<qsizetype>(table.size()));
    return "Table Channels/" + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromUtf8(bytes)));
}

}  // namespace

SettingsTableChannelChoices::SettingsTableChannelChoices()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "TaVO", "TaVO"))
{
}

SettingsTableChannelChoices::~SettingsTableChannelChoices() = default;

std::optional<std::string> SettingsTableChannelChoices::channelFor(std::string_view table) const
{
    const QVariant value = settings_->value(keyFor(table));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

void SettingsTableChannelChoices::setChannelFor(std::string_view table, std::string_view channelTitle)
{
    const QByteArray bytes(channelTitle.data(), static_cast<qsizetype>(channelTitle.size()));
    settings_->setValue(keyFor(table), QString::fromUtf8(bytes));
    settings_->sync();
}

}  // namespace tavo
