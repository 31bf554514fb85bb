#pragma once
// The tables' channel choices kept in TaVO's settings (the INI file the
// channel scales live in), under "Table Channels/<table>".

#include <memory>

#include "review/TableChannelChoices.h"

class QSettings;

namespace tavo {

class SettingsTableChannelChoices : public TableChannelChoices {
public:
    SettingsTableChannelChoices();
    ~SettingsTableChannelChoices() override;

    std::optional<std::string> channelFor(std::string_view table) const override;
    void setChannelFor(std::string_view table, std::string_view channelTitle) override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace tavo
