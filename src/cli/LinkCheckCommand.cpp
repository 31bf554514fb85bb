// tavo-cli link-check: connects, times a few hundred sync checks and tells
// what the line is worth: the reply times, the rows a second to expect at
// "Fastest", the adapter's latency timer where the system says it, and what
// to do about a slow adapter.
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/TextFormat.h"
#include "link/EcmLink.h"
#include "link/LinkCheck.h"
#include "link/LinkFailure.h"
#include "logging/Acquisition.h"
#include "logging/LoggingConfig.h"

namespace tavo {

namespace {

// A silent ECM is given up on after this many checks without a reply.
constexpr int kSilentChecks = 5;
// The logging dialog's channels as the log command takes them: all eight.
constexpr std::uint32_t kAllChannels = 0xFFu;

const char* verdictName(ReplyVerdict verdict)
{
    switch (verdict) {
    case ReplyVerdict::Fast:
        return "fast";
    case ReplyVerdict::SlowAdapter:
        return "slow-adapter";
    case ReplyVerdict::NoReplies:
        return "no-replies";
    case ReplyVerdict::TooFew:
        break;
    }
    return "too-few";
}

std::string verdictText(ReplyVerdict verdict, const ReplyTimeSummary& replies, const AdapterLatency& adapter)
{
    switch (verdict) {
    case ReplyVerdict::Fast:
        return "the line is fast: replies take about the line's own time";
    case ReplyVerdict::SlowAdapter:
        return "slow: " + slowAdapterSentence(replies, thisAdapterSystem(), adapter);
    case ReplyVerdict::NoReplies:
        return "no replies: the ECM answered the connection but none of the sync checks";
    case ReplyVerdict::TooFew:
        break;
    }
    return "too few replies to judge (" + std::to_string(replies.count) + " of the " +
           std::to_string(kFewestJudgedReplies) + " needed)";
}

}  // namespace

int cmdLinkCheck(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const auto device = args.option("--device");
    // An empty name is no device.
    if (!device || device->empty())
        throw UsageError{"link-check needs --device PATH"};
    const auto checks = static_cast<int>(wholeNumber(args, "--checks", 200, 10, 100'000));
    LoggingConfig config;
    if (!readLoggingConfigFor(args, config, err))
        return 1;
    applySpeedOptions(args, config.serial);

    CliLink connection;
    if (!connection.connect(*device, config.serial, err))
        return 1;
    EcmLink& link = connection.link();
    int silent = 0;
    for (int i = 0; i < checks && link.linkConnected() && silent < kSilentChecks; ++i)
        silent = link.checkSync() == SyncResult::NoReply ? silent + 1 : 0;
    const LinkFailure lost = link.state().failure;
    link.disconnectEcm();

    const ReplyTimeSummary replies = link.state().replies;
    const ReplyVerdict verdict = judgeReplies(replies);
    const AdapterLatency adapter = readAdapterLatency(*device);
    const int exchanges = exchangesPerTick(config.channels, kAllChannels);
    const double rows = expectedRowsPerSecond(replies, exchanges);
    const int baud = baudForSpeed(1, config.serial.highSpeed);

    if (args.json()) {
        JsonWriter json;
        json.beginObject().key("device").value(*device).key("baud").value(baud);
        writeReplyTimes(json, replies);
        json.key("unanswered").value(static_cast<std::int64_t>(replies.unanswered))
            .key("lineMs").value(static_cast<double>(replies.lineUs) / 1000.0)
            .key("latencyTimerMs");
        if (adapter.timerMs)
            json.value(*adapter.timerMs);
        else
            json.null();
        json.key("exchangesPerRow").value(exchanges)
            .key("rowsPerSecond").value(rows)
            .key("verdict").value(verdictName(verdict))
            .key("advice").value(slowAdapterSentence(replies, thisAdapterSystem(), adapter))
            .endObject();
        out << json.text() << '\n';
    } else {
        out << terminalText(*device) << " at " << baud << " baud\n";
        out << "replies: " << replies.count << " timed, " << replies.unanswered << " unanswered";
        if (replies.count > 0)
            out << "; median " << millisecondsText(replies.medianUs) << " ms, 95th percentile "
                << millisecondsText(replies.p95Us) << " ms";
        out << "; the line's own time " << millisecondsText(replies.lineUs) << " ms\n";
        if (adapter.timerMs)
            out << "latency timer of " << terminalText(adapter.portName) << ": " << *adapter.timerMs << " ms\n";
        out << "at \"Fastest\" with the channels of Logging.cfg (" << exchanges
            << " exchanges a row): about " << formatFixed(rows, 0) << " rows a second\n";
        out << "verdict: " << verdictText(verdict, replies, adapter) << '\n';
    }
    // A line lost during the checks fails whatever the replies before it said.
    if (lost)
        err << terminalText(linkFailureText(lost, *device, config.serial.port), true) << '\n';
    return verdict == ReplyVerdict::Fast && !lost ? 0 : 1;
}

}  // namespace tavo
