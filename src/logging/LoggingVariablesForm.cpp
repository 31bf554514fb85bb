#include "logging/LoggingVariablesForm.h"

#include "common/TextFormat.h"

namespace tavo {

LoggingVariablesFields loggingVariablesFields(const LoggingConfig& config)
{
    LoggingVariablesFields fields;
    fields.name = config.nameText();
    for (std::size_t n = 0; n < fields.channels.size(); ++n) {
        const LogChannel& channel = config.channels[n];
        ChannelFields& field = fields.channels[n];
        field.title = channel.titleText();
        field.location = hexLower(static_cast<std::uint32_t>(channel.location), 2, ' ');
        field.word = channel.word;
        field.multiplier = formatFixed(channel.multiplier, 6);
    }
    return fields;
}

void applyLoggingVariables(LoggingConfig& config, const LoggingVariablesFields& fields)
{
    config.setName(fields.name);
    for (std::size_t n = 0; n < fields.channels.size(); ++n)
        config.channels[n].setTitle(fields.channels[n].title);
    for (std::size_t n = 0; n < fields.channels.size(); ++n)
        if (const auto location = parseHexPrefix(fields.channels[n].location, 2))
            config.channels[n].location = static_cast<std::int32_t>(*location);
    for (std::size_t n = 0; n < fields.channels.size(); ++n)
        config.channels[n].word = fields.channels[n].word;
    for (std::size_t n = 0; n < fields.channels.size(); ++n)
        if (const auto multiplier = parseFloatPrefix(fields.channels[n].multiplier))
            config.channels[n].multiplier = static_cast<double>(*multiplier);
}

}  // namespace tavo
