// tavo-cli ram: connects to the ECM as the Live RAM display does, runs the
// sync check, reads a run of RAM addresses and prints them.
#include <algorithm>
#include <chrono>
#include <optional>
#include <charconv>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "link/EcmLink.h"
#include "link/LinkFailure.h"
#include "link/LiveRam.h"
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

// The speeds: both given on the command line, else those of the logging
// configuration (--config, or Logging.cfg here; the defaults when there is none).
bool serialSettingsFor(const Arguments& args, SerialSettings& settings, std::ostream& err)
{
    LoggingConfig config;
    if (!readLoggingConfigFor(args, config, err))
        return false;
    applySpeedOptions(args, config.serial);
    settings = config.serial;
    return true;
}

}  // namespace

int cmdRam(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const auto device = args.option("--device");
    // An empty name is no device.
    if (!device || device->empty())
        throw UsageError{"ram needs --device PATH"};
    const int base = hexAddress(args);
    const auto count = static_cast<int>(wholeNumber(args, "--count", kLiveRamCount, 1, 65536));
    SerialSettings settings;
    if (!serialSettingsFor(args, settings, err))
        return 1;

    CliLink connection;
    if (!connection.connect(*device, settings, err))
        return 1;
    EcmLink& link = connection.link();
    SystemClock& clock = connection.clock();
    const auto started = clock.now();
    const std::uint64_t queriesBefore = link.queries();
    const SyncResult sync = link.checkSync();
    const bool synced = link.linkSynced();
    // Out of step or silent: no reply can be trusted to answer its address.
    const bool inStep = sync == SyncResult::InStep || sync == SyncResult::Resynced;
    std::vector<std::optional<std::uint8_t>> values(static_cast<std::size_t>(count));
    for (int i = 0; i < count && inStep && link.linkConnected(); ++i) {
        // A byte that turns up before the next request may have been taken
        // for the previous one's reply, and a reply that came with another
        // byte may be either: such values are not trusted.
        const std::uint64_t before = link.strayBytes();
        link.emptyInput();
        if (i > 0 && link.strayBytes() != before)
            values[static_cast<std::size_t>(i - 1)].reset();
        const std::uint64_t asked = link.strayBytes();
        values[static_cast<std::size_t>(i)] = link.queryRam(liveRamAddress(base, i));
        if (link.strayBytes() != asked)
            values[static_cast<std::size_t>(i)].reset();
    }
    // One more sync check proves the replies were still in step at the end;
    // if they were not, any of them may have answered another address. An
    // ECM fallen silent meanwhile proves it too, when no byte came late: a
    // reply taken for another request's leaves its own to turn up later.
    bool confirmed = !inStep;
    if (inStep && link.linkConnected()) {
        const std::uint64_t before = link.strayBytes();
        link.emptyInput();
        if (link.strayBytes() != before)
            values.back().reset();
        const std::uint64_t checked = link.strayBytes();
        const SyncResult last = link.checkSync();
        confirmed = (last == SyncResult::InStep || last == SyncResult::NoReply) && link.strayBytes() == checked;
        if (!confirmed)
            values.assign(values.size(), std::nullopt);
    }
    const double seconds = std::chrono::duration<double>(clock.now() - started).count();
    const std::uint64_t queries = link.queries() - queriesBefore;
    const bool stillConnected = link.linkConnected();
    const LinkFailure lost = link.state().failure;
    link.disconnectEcm();
    const auto unanswered = std::count_if(values.begin(), values.end(), [](const auto& v) { return !v; });

    if (args.json()) {
        JsonWriter json;
        json.beginObject()
            .key("connected").value(stillConnected)
            .key("synced").value(synced)
            .key("base").value(base)
            .key("values").beginArray();
        for (const auto& value : values) {
            if (value)
                json.value(static_cast<int>(*value));
            else
                json.null();
        }
        json.endArray()
            .key("unanswered").value(static_cast<std::int64_t>(unanswered))
            .key("queries").value(static_cast<std::int64_t>(queries))
            .key("seconds").value(seconds);
        writeReplyTimes(json, link.state().replies);
        json.endObject();
        out << json.text() << '\n';
    } else {
        for (const auto& value : values)
            out << liveRamValueText(value) << ' ';
        out << (synced ? "SYNC" : "----") << '\n';
        err << replyTimesLine(link.state().replies) << '\n';
    }
    if (unanswered == 0)
        return 0;
    if (lost)
        err << terminalText(linkFailureText(lost, *device, settings.port), true) << '\n';
    else if (!inStep)
        err << "tavo-cli: the ECM did not pass the sync check ("
            << (sync == SyncResult::NoReply ? "no reply" : "its replies were out of step") << "); nothing read\n";
    else if (!confirmed)
        err << "tavo-cli: the ECM's replies came out of step during the reading; none is trusted\n";
    err << "tavo-cli: " << unanswered << " of " << count << " addresses did not answer\n";
    return 1;
}

}  // namespace tavo
