// tavo-cli log: logs the ECM without a window, with the Data Logging
// dialog's own tick, and saves the ring as a log file.
#include <charconv>
#include <cmath>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/TextFormat.h"
#include "link/EcmLink.h"
#include "link/SystemSerialLine.h"
#include "logging/HeadlessLog.h"
#include "logging/LogFile.h"
#include "logging/LoggingConfig.h"

namespace tavo {

namespace {

// "1,2,custom": channels 1 to 8 and the custom address, as mask bits.
std::uint32_t channelMaskOf(const std::string& list)
{
    std::uint32_t mask = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (item == "custom") {
            mask |= kCustomBit;
        } else if (item.size() == 1 && item[0] >= '1' && item[0] <= '8') {
            mask |= 1u << (item[0] - '1');
        } else {
            throw UsageError{"--channels takes channel numbers 1 to 8 and custom, separated by commas: " + list};
        }
        if (comma == std::string::npos)
            return mask;
        start = comma + 1;
    }
}

// At most two hexadecimal digits, as the dialog's field takes them.
std::string customAddressOf(const std::string& text)
{
    std::string digits = text;
    if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0)
        digits.erase(0, 2);
    unsigned value = 0;
    const char* end = digits.data() + digits.size();
    const auto [next, error] = std::from_chars(digits.data(), end, value, 16);
    if (digits.empty() || digits.size() > 2 || error != std::errc() || next != end)
        throw UsageError{"--custom takes a RAM address of one or two hexadecimal digits: " + text};
    return digits;
}

HeadlessLogPlan planOf(const Arguments& args)
{
    HeadlessLogPlan plan;
    const bool ticks = args.option("--ticks").has_value();
    if (ticks == args.option("--seconds").has_value())
        throw UsageError{"log needs either --ticks N or --seconds S"};
    if (ticks) {
        plan.ticks = wholeNumber(args, "--ticks", 0, 1, 1'000'000'000);
    } else {
        const std::string text = *args.option("--seconds");
        double seconds = 0;
        const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
        if (error != std::errc() || next != text.data() + text.size() || !std::isfinite(seconds) || seconds <= 0 ||
            seconds > 1e6)
            throw UsageError{"--seconds takes a number of seconds above 0: " + text};
        plan.seconds = seconds;
    }
    plan.samplePeriodMs = static_cast<std::int32_t>(wholeNumber(args, "--period-ms", 125, 1, 3'600'000));
    return plan;
}

}  // namespace

int cmdLog(const Arguments& args, std::ostream& out, std::ostream& err)
{
    requireWords(args, 0);
    const auto device = args.option("--device");
    if (!device)
        throw UsageError{"log needs --device PATH"};
    const HeadlessLogPlan plan = planOf(args);
    AcquisitionState state;
    state.channelMask = args.option("--channels") ? channelMaskOf(*args.option("--channels")) : 0xFFu;
    state.smoothing = args.flag("--smoothing");
    const CustomAddressText custom =
        customAddressText(args.option("--custom") ? customAddressOf(*args.option("--custom")) : "40");
    LoggingConfig config;
    if (!readLoggingConfigFor(args, config, err))
        return 1;

    if (!systemSerialLineAvailable()) {
        err << "tavo-cli: " << missingSerialLineReason() << '\n';
        return 1;
    }
    const auto line = makeSystemSerialLine();
    SystemClock clock;
    EcmLink link(*line, clock);
    link.connectEcm(*device, config.serial);
    if (!link.linkConnected()) {
        err << "No response from the ECM on " << terminalText(*device) << '\n';
        return 1;
    }
    const HeadlessLogResult result = runHeadlessLog(link, state, config.channels, custom, plan);
    link.disconnectEcm();

    LogSave save;
    if (const auto path = args.option("--out")) {
        save.path = *path;
        save.status = writeFileAtomically(*path, encodeLogFile(logContentOf(state)));
    } else {
        save = saveLogFile(logContentOf(state), defaultLogFolder(), localTimeOfDay());
    }
    if (!save.status) {
        err << "tavo-cli: unable to save the log file: " << terminalText(save.path) << ": " << save.status.reason()
            << '\n';
        return 1;
    }
    if (!args.json()) {
        out << terminalText(save.path) << '\n';
        return 0;
    }
    JsonWriter json;
    json.beginObject()
        .key("path").value(save.path)
        .key("ticks").value(result.ticks)
        .key("syncedTicks").value(result.syncedTicks)
        .key("queries").value(static_cast<std::int64_t>(result.queries))
        .key("seconds").value(result.seconds)
        .key("queriesPerSecond").value(result.seconds > 0 ? static_cast<double>(result.queries) / result.seconds : 0.0)
        .key("writePos").value(state.writePos)
        .key("channelMask").value(state.channelMask)
        .endObject();
    out << json.text() << '\n';
    return 0;
}

}  // namespace tavo
