// tavo-cli log: logs the ECM without a window, with the Data Logging
// dialog's own tick, and saves the ring as a log file (and as CSV). Every
// row it saves is one the ECM answered in full; Ctrl+C or SIGTERM end the
// run early and save it, and an ECM that stops answering ends it too.
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/TextFormat.h"
#include "link/EcmLink.h"
#include "link/LinkFailure.h"
#include "link/SystemSerialLine.h"
#include "logging/HeadlessLog.h"
#include "logging/LogCsv.h"
#include "logging/LogFile.h"
#include "logging/LoggingConfig.h"

namespace tavo {

namespace {

// Set by SIGINT and SIGTERM while a run is under way.
std::atomic<bool> stopRequested{false};
// Raised by them while the connection procedure runs, which then ends.
LinkInterrupt connectInterrupt;
std::atomic<bool> connecting{false};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");

void requestStop(int)
{
    stopRequested.store(true);
    if (connecting.load())
        connectInterrupt.raise();
}

// SIGINT and SIGTERM (Ctrl+C and Ctrl+Break on Windows) end the run
// instead of the process while it lasts.
class StopSignals {
public:
    StopSignals()
    {
        stopRequested.store(false);
        previousInt_ = std::signal(SIGINT, requestStop);
        previousTerm_ = std::signal(SIGTERM, requestStop);
    }
    ~StopSignals()
    {
        std::signal(SIGINT, previousInt_);
        std::signal(SIGTERM, previousTerm_);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    using Handler = void (*)(int);
    Handler previousInt_ = SIG_DFL;
    Handler previousTerm_ = SIG_DFL;
};

// "14:25:30": the time of day `secondsAgo` before now.
std::string clockTimeBefore(double secondsAgo)
{
    const TimeOfDay now = localTimeOfDay();
    constexpr long long kDay = 24 * 60 * 60;
    const long long then =
        ((now.hour * 3600LL + now.minute * 60LL + now.second - std::llround(secondsAgo)) % kDay + kDay) % kDay;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", then / 3600, then / 60 % 60, then % 60);
    return text;
}

bool refuseUnwritable(const std::optional<std::string>& path, const char* what, std::ostream& err)
{
    if (!path)
        return false;
    if (const FileStatus status = checkWritable(*path); !status) {
        err << "tavo-cli: unable to write the " << what << " " << terminalText(*path) << ": " << status.reason()
            << '\n';
        return true;
    }
    return false;
}

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
    const auto device = args.option("--device");
    // An empty name is no device.
    if (!device || device->empty())
        throw UsageError{"log needs --device PATH"};
    HeadlessLogPlan plan = planOf(args);
    AcquisitionState state;
    state.channelMask = args.option("--channels") ? channelMaskOf(*args.option("--channels")) : 0xFFu;
    state.smoothing = args.flag("--smoothing");
    const CustomAddressText custom =
        customAddressText(args.option("--custom") ? customAddressOf(*args.option("--custom")) : "40");
    LoggingConfig config;
    if (!readLoggingConfigFor(args, config, err))
        return 1;
    // The speeds of the command line over those of the configuration.
    applySpeedOptions(args, config.serial);
    // Found out now, not after the run.
    if (refuseUnwritable(args.option("--out"), "log file", err) || refuseUnwritable(args.option("--csv"), "CSV file", err))
        return 1;

    if (!systemSerialLineAvailable()) {
        err << "tavo-cli: " << missingSerialLineReason() << '\n';
        return 1;
    }
    StopSignals signals;
    plan.stop = &stopRequested;
    const auto line = makeSystemSerialLine();
    SystemClock clock;
    EcmLink link(*line, clock);
    link.setInterrupt(&connectInterrupt);
    connecting.store(true);
    link.connectEcm(*device, config.serial);
    connecting.store(false);
    if (connectInterrupt.raised())
        connectInterrupt.lower();
    if (!link.linkConnected()) {
        if (link.state().failure.problem == LinkProblem::Aborted)
            err << "tavo-cli: stopped before the ECM answered; nothing logged\n";
        else
            err << terminalText(linkFailureText(link.state().failure, *device, config.serial.port), true) << '\n';
        return 1;
    }
    const HeadlessLogResult result = runHeadlessLog(link, state, config.channels, custom, plan);
    // Why the ECM went silent, when the line itself went away.
    const LinkFailure lost = link.state().failure;
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
    if (const auto csvPath = args.option("--csv")) {
        if (const FileStatus written = writeFileAtomically(*csvPath, logCsv(state, config.channels)); !written) {
            err << "tavo-cli: unable to save the CSV file: " << terminalText(*csvPath) << ": " << written.reason()
                << '\n';
            return 1;
        }
    }
    if (result.ecmStopped) {
        const std::string since = clockTimeBefore(result.seconds - result.failingSinceSeconds) + " (" +
                                  formatFixed(result.failingSinceSeconds, 1) + " s into the run)";
        if (result.answeringBadly && !lost)
            err << "tavo-cli: the ECM has been answering badly since " << since << ": " << result.failingReplies
                << " of " << result.failingRequests << " requests answered, " << result.failingStrays
                << " stray bytes, no tick in full; " << result.answeredTicks
                << " rows saved\n";
        else
            err << "tavo-cli: the ECM stopped answering at " << since << "; " << result.answeredTicks
                << " rows saved\n";
        if (lost)
            err << terminalText(linkFailureText(lost, *device, config.serial.port), true) << '\n';
    } else if (result.stoppedEarly && result.answeredTicks == 0) {
        err << "tavo-cli: stopped before a row was logged; nothing logged\n";
    } else if (result.missedTicks > 0) {
        err << "tavo-cli: " << result.missedTicks << " of " << result.ticks
            << " ticks got no full answer from the ECM; their rows were not stored\n";
    }
    if (args.json()) {
        JsonWriter json;
        json.beginObject()
            .key("path").value(save.path)
            .key("ticks").value(result.ticks)
            .key("answeredTicks").value(result.answeredTicks)
            .key("missedTicks").value(result.missedTicks)
            .key("syncedTicks").value(result.syncedTicks)
            .key("queries").value(static_cast<std::int64_t>(result.queries))
            .key("seconds").value(result.seconds)
            .key("queriesPerSecond").value(result.seconds > 0 ? static_cast<double>(result.queries) / result.seconds : 0.0)
            .key("writePos").value(state.writePos)
            .key("channelMask").value(state.channelMask)
            .key("stoppedEarly").value(result.stoppedEarly)
            .key("ecmStopped").value(result.ecmStopped);
        writeReplyTimes(json, link.state().replies);
        json.endObject();
        out << json.text() << '\n';
    } else {
        out << terminalText(save.path) << '\n';
        err << replyTimesLine(link.state().replies) << '\n';
    }
    // A run cut short before its first row logged nothing: that is no success.
    return result.ecmStopped || (result.stoppedEarly && result.answeredTicks == 0) ? 1 : 0;
}

}  // namespace tavo
