#pragma once
// The rules of the "Data Logging Variables" dialog: the texts its fields show
// for the eight channels and the configuration name, and what OK takes back.

#include <array>
#include <string>

#include "logging/Acquisition.h"
#include "logging/LoggingConfig.h"

namespace tavo {

struct ChannelFields {
    std::string title;
    std::string location;    // "%2x": " 5", "8f"
    bool word = false;
    std::string multiplier;  // "%f": "0.007813", "1.000000"
};

struct LoggingVariablesFields {
    std::string name;
    std::array<ChannelFields, kChannelCount> channels;
};

LoggingVariablesFields loggingVariablesFields(const LoggingConfig& config);

// OK: name and titles take their texts (at most 63 characters); a location
// is read as at most two hexadecimal digits, a multiplier as a decimal
// number in single precision, and a field that yields no number keeps the
// old value; each Word box gives its channel's word flag.
void applyLoggingVariables(LoggingConfig& config, const LoggingVariablesFields& fields);

// The fixed hints of the "Multipliers:" box, label and value.
struct MultiplierHint {
    const char* label;
    const char* value;
};
inline constexpr std::array<MultiplierHint, 6> kMultiplierHints{{
    {"divide by 8:", "0.125"},
    {"divide by 16:", "0.0625"},
    {"divide by 24:", "0.04166666"},
    {"divide by 32:", "0.03125"},
    {"divide by 64:", "0.015625"},
    {"divide by 128:", "0.0078125"},
}};

}  // namespace tavo
