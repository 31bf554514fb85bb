#pragma once
// The eight logging channels, the configuration name and the serial
// settings, stored in the 1356-byte binary file Logging.cfg.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/AtomicFile.h"
#include "link/SerialSettings.h"

namespace tavo {

// One ECM RAM variable to log. The title is kept as its 64-byte buffer so
// the bytes after its NUL, which the file carries, are written back unchanged.
struct LogChannel {
    std::array<char, 64> title{};
    std::int32_t location = 0;  // ECM RAM address, 0x00 to 0xFF
    bool word = false;          // 16-bit value: high byte at location, low byte next
    double multiplier = 1.0;    // applied to 16-bit values

    std::string titleText() const;
    void setTitle(std::string_view text);  // at most 63 characters
};

struct LoggingConfig {
    std::array<LogChannel, 8> channels{};
    std::array<std::uint8_t, 640> reserved{};  // carried along, never interpreted
    std::array<char, 64> name{};
    SerialSettings serial;

    std::string nameText() const;
    void setName(std::string_view text);  // at most 63 characters
};

inline constexpr const char* kLoggingConfigFile = "Logging.cfg";
inline constexpr std::size_t kLoggingConfigSize = 1356;

// The eight default channels, "87 Turbo II" and serial settings 1, 1, 1.
void setLoggingDefaults(LoggingConfig& config);

// The file image of the configuration, and reading one back. A short file
// fills the fields in file order as far as it reaches.
std::string encodeLoggingConfig(const LoggingConfig& config);
void decodeLoggingConfig(LoggingConfig& config, std::string_view bytes);

// The one reader of the file: reads `path` over the configuration as it
// stands (a short file fills what it reaches). Any failure, a missing file
// included (status.missing()), leaves the configuration as it was.
FileStatus loadLoggingConfig(LoggingConfig& config, const std::string& path = kLoggingConfigFile);

// Start-up: loads the file at `path`; a missing file is created from the
// configuration as it stands (the defaults at start-up). One that exists but
// cannot be read keeps the configuration as it stands and is not replaced.
// The status is that of creating the file: ok when none had to be created.
FileStatus readLoggingConfig(LoggingConfig& config, const std::string& path = kLoggingConfigFile);
// Writes the file through the safe save; the status says why it failed.
FileStatus writeLoggingConfig(const LoggingConfig& config, const std::string& path = kLoggingConfigFile);

}  // namespace tavo
