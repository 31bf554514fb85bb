// tavo-cli log-stats: what each logged channel of a log file did.
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/TextFormat.h"
#include "logging/LoggingConfig.h"
#include "review/LogStatistics.h"

namespace tavo {


namespace {

void optionalJson(JsonWriter& json, const char* key, const std::optional<int>& value)
{
    json.key(key);
    if (value)
        json.value(*value);
    else
        json.null();
}

}  // namespace

int cmdLogStats(const Arguments& args, std::ostream& out, std::ostream& err)
{
    LoggingConfig config;
    if (!readLoggingConfigFor(args, config, err))
        return 1;
    const auto log = readLogFile(args.words[0], err);
    if (!log)
        return 1;
    const LogRun run = logRunOf(*log, config.channels);
    const std::vector<ChannelStatistics> all = channelStatistics(run);
    if (args.json()) {
        JsonWriter json;
        json.beginObject().key("channels").beginArray();
        for (const ChannelStatistics& stats : all) {
            json.beginObject().key("title").value(stats.title).key("slot").value(stats.slot).key("rows").value(stats.rows);
            optionalJson(json, "min", stats.min);
            optionalJson(json, "max", stats.max);
            json.key("mean");
            if (stats.mean)
                json.value(*stats.mean);
            else
                json.null();
            optionalJson(json, "last", stats.last);
            json.endObject();
        }
        json.endArray()
            .key("rows").value(run.rowCount())
            .key("wrapped").value(run.wrapped)
            .key("writePos").value(log->writePos)
            .key("channelMask").value(log->channelMask)
            .key("periodMs").value(log->samplePeriodMs)
            .endObject();
        out << json.text() << '\n';
        return 0;
    }
    for (const ChannelStatistics& stats : all) {
        out << terminalText(stats.title) << " (slot " << stats.slot << "): " << stats.rows << " rows";
        if (stats.rows > 0)
            out << ", min " << *stats.min << ", max " << *stats.max << ", mean " << formatFixed(*stats.mean, 3)
                << ", last " << *stats.last;
        out << '\n';
    }
    return 0;
}

}  // namespace tavo
