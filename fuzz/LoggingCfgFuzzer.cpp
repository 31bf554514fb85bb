// Logging.cfg: any bytes read over the defaults, in memory and through the
// file layer (which reads at most the file's 1356 bytes). What is read is
// written and read back to the same configuration; opening the Setup
// Logging and Serial Port dialogs on it shows texts and choices, and OK on
// the Serial Port dialog without a click changes nothing.
#include <cmath>
#include <cstring>

#include "FuzzSupport.h"
#include "link/SerialPortForm.h"
#include "link/SerialSettings.h"
#include "logging/LoggingConfig.h"
#include "logging/LoggingVariablesForm.h"

using namespace tavo;

namespace {

bool sameConfig(const LoggingConfig& a, const LoggingConfig& b)
{
    return encodeLoggingConfig(a) == encodeLoggingConfig(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::bytesOf(data, size);
    LoggingConfig config;
    setLoggingDefaults(config);
    decodeLoggingConfig(config, bytes);

    // The same bytes as a file: only the first 1356 count.
    LoggingConfig fromFile;
    setLoggingDefaults(fromFile);
    FUZZ_CHECK(loadLoggingConfig(fromFile, fuzz::scratchFile("Logging.cfg", bytes)));
    FUZZ_CHECK(sameConfig(fromFile, config));

    const std::string written = encodeLoggingConfig(config);
    FUZZ_CHECK(written.size() == kLoggingConfigSize);
    if (bytes.size() >= kLoggingConfigSize)
        FUZZ_CHECK(written.substr(0, 64) == bytes.substr(0, 64));
    LoggingConfig reread;
    decodeLoggingConfig(reread, written);
    FUZZ_CHECK(encodeLoggingConfig(reread) == written);
    for (std::size_t n = 0; n < config.channels.size(); ++n) {
        FUZZ_CHECK(config.channels[n].titleText().size() < config.channels[n].title.size());
        FUZZ_CHECK(reread.channels[n].titleText() == config.channels[n].titleText());
    }
    FUZZ_CHECK(reread.nameText() == config.nameText());

    const LoggingVariablesFields fields = loggingVariablesFields(config);
    LoggingConfig edited = config;
    applyLoggingVariables(edited, fields);
    for (std::size_t n = 0; n < config.channels.size(); ++n)
        FUZZ_CHECK(edited.channels[n].titleText() == config.channels[n].titleText());

    SerialSettings settings = config.serial;
    applyChoices(settings, choicesFor(settings));
    FUZZ_CHECK(std::memcmp(&settings, &config.serial, sizeof settings) == 0);
    for (const int choice : {config.serial.lowSpeed, config.serial.highSpeed})
        for (const int group : {0, 1})
            FUZZ_CHECK(baudForSpeed(group, choice) > 0);
    return 0;
}
