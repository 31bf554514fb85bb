// tavo-cli ram: connects to the ECM as the Live RAM display does, runs the
// sync check, reads a run of RAM addresses and prints them.
#include <chrono>
#include <charconv>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "link/EcmLink.h"
#include "link/LiveRam.h"
#include "link/SystemSerialLine.h"
#include "logging/LoggingConfig.h"

namespace tavo {

namespace {

int hexAddress(const Arguments& args)
{
    std::string text = args.option("--base").value_or("40");
    if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0)
        text.erase(0, 2);
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || error != std::errc() || next != end)
        throw UsageError{"--base takes a hexadecimal address: " + *args.option("--base")};
    return static_cast<int>(value & 0xFF);
}

// The speeds: both given on the command line, else those of Logging.cfg in
// the current directory (the defaults when there is none).
bool serialSettingsFor(const Arguments& args, SerialSettings& settings, std::ostream& err)
{
    const bool low = args.option("--low-speed").has_value();
    const bool high = args.option("--high-speed").has_value();
    if (low != high)
        throw UsageError{"--low-speed and --high-speed go together"};
    if (low) {
        settings.lowSpeed = static_cast<int>(wholeNumber(args, "--low-speed", 1, 1, 4));
        settings.highSpeed = static_cast<int>(wholeNumber(args, "--high-speed", 1, 1, 4));
        return true;
    }
    LoggingConfig config;
    setLoggingDefaults(config);
    const FileContent content = readFileStart(kLoggingConfigFile, kLoggingConfigSize);
    if (!content.status && !content.status.missing()) {
        err << "tavo-cli: unable to read " << kLoggingConfigFile << ": " << content.status.reason() << '\n';
        return false;
    }
    decodeLoggingConfig(config, std::string_view(reinterpret_cast<const char*>(content.bytes.data()),
                                                 content.bytes.size()));
    settings = config.serial;
    return true;
}

}  // namespace

int cmdRam(const Arguments& args, std::ostream& out, std::ostream& err)
{
    requireWords(args, 0);
    const auto device = args.option("--device");
    if (!device)
        throw UsageError{"ram needs --device PATH"};
    const int base = hexAddress(args);
    const auto count = static_cast<int>(wholeNumber(args, "--count", kLiveRamCount, 1, 65536));
    SerialSettings settings;
    if (!serialSettingsFor(args, settings, err))
        return 1;

    if (!systemSerialLineAvailable()) {
        err << "tavo-cli: " << missingSerialLineReason() << '\n';
        return 1;
    }
    const auto line = makeSystemSerialLine();
    SystemClock clock;
    EcmLink link(*line, clock);
    link.connectEcm(*device, settings);
    if (!link.linkConnected()) {
        err << "No response from the ECM on " << terminalText(*device) << '\n';
        return 1;
    }
    const auto started = clock.now();
    const std::uint64_t queriesBefore = link.queries();
    link.checkSync();
    std::vector<int> values;
    values.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int address = liveRamAddress(base, i);
        link.queryRam(address);
        values.push_back(link.ramMirror()[static_cast<std::size_t>(address)]);
    }
    const double seconds = std::chrono::duration<double>(clock.now() - started).count();
    const std::uint64_t queries = link.queries() - queriesBefore;
    const bool synced = link.linkSynced();
    const bool stillConnected = link.linkConnected();
    link.disconnectEcm();

    if (args.json()) {
        JsonWriter json;
        json.beginObject()
            .key("connected").value(stillConnected)
            .key("synced").value(synced)
            .key("base").value(base)
            .key("values").beginArray();
        for (const int value : values)
            json.value(value);
        json.endArray()
            .key("queries").value(static_cast<std::int64_t>(queries))
            .key("seconds").value(seconds)
            .endObject();
        out << json.text() << '\n';
        return 0;
    }
    for (const int value : values)
        out << liveRamValueText(static_cast<std::uint8_t>(value)) << ' ';
    out << (synced ? "SYNC" : "----") << '\n';
    return 0;
}

}  // namespace tavo
