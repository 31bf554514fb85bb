#pragma once
// Channel scales kept in TaVO's settings (an INI file in the user's
// configuration folder, "TaVO/TaVO.ini"), one group per channel title.

#include <memory>

#include "review/ChannelScales.h"

class QSettings;

namespace tavo {

class SettingsChannelScales : public ChannelScales {
public:
    SettingsChannelScales();
    ~SettingsChannelScales() override;

    std::optional<ChannelScale> scaleFor(std::string_view title) const override;
    bool setScale(std::string_view title, const std::optional<ChannelScale>& scale) override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace tavo
