#include "review/qt/SettingsChannelScales.h"

#include <QSettings>
#include <QUrl>

namespace tavo {

namespace {

// A title may hold "/" (a settings group separator) or anything else:
// percent-encoded it is one plain key.
QString groupFor(std::string_view title)
{
    const QByteArray bytes(title.data(), static_cast<qsizetype>(title.size()));
    return "Channel Scales/" + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromUtf8(bytes)));
}

std::optional<double> numberAt(const QSettings& settings, const QString& key)
{
    bool ok = false;
    const double value = settings.value(key).toString().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

}  // namespace

SettingsChannelScales::SettingsChannelScales()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "TaVO", "TaVO"))
{
}

SettingsChannelScales::~SettingsChannelScales() = default;

std::optional<ChannelScale> SettingsChannelScales::scaleFor(std::string_view title) const
{
    const QString group = groupFor(title);
    const auto factor = numberAt(*settings_, group + "/factor");
    const auto offset = numberAt(*settings_, group + "/offset");
    // A scale someone mangled in the file is no scale: the raw byte shows.
    if (!factor || !offset || *factor == 0)
        return std::nullopt;
    return ChannelScale{*factor, *offset, settings_->value(group + "/unit").toString().toStdString()};
}

bool SettingsChannelScales::setScale(std::string_view title, const std::optional<ChannelScale>& scale)
{
    const QString group = groupFor(title);
    settings_->remove(group);
    if (scale) {
        settings_->setValue(group + "/factor", QString::fromStdString(scaleNumberText(scale->factor)));
        settings_->setValue(group + "/offset", QString::fromStdString(scaleNumberText(scale->offset)));
        settings_->setValue(group + "/unit", QString::fromStdString(scale->unit));
    }
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace tavo
