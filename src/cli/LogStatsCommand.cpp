// tavo-cli log-stats: what each logged channel of a log file or TaVO CSV did,
// and the gaps in its measured times.
#include <cmath>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "common/TextFormat.h"
#include "logging/LoggingConfig.h"
#include "review/LogStatistics.h"
#include "review/RunGaps.h"

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
    const auto read = readReviewRun(args.words[0], config.channels, err);
    if (!read)
        return 1;
    const LogRun& run = *read;
    const LogFileContent* log = run.logFile.get();
    const std::vector<ChannelStatistics> all = channelStatistics(run);
    const GapTotal gaps = gapTotal(run.gaps);
    const double gapSeconds = std::round(gaps.seconds * 1000.0) / 1000.0;
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
            .key("gaps").beginObject().key("count").value(gaps.count).key("seconds").value(gapSeconds).endObject()
            .key("wrapped").value(run.wrapped);
        // What only a log file's header holds; a CSV has none of it.
        optionalJson(json, "writePos", log ? std::optional<int>(log->writePos) : std::nullopt);
        optionalJson(json, "channelMask", log ? std::optional<int>(static_cast<int>(log->channelMask)) : std::nullopt);
        optionalJson(json, "periodMs", log ? std::optional<int>(log->samplePeriodMs) : std::nullopt);
        json.endObject();
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
    out << "gaps: " << gaps.count << ", " << formatFixed(gapSeconds, 3) << " s\n";
    return 0;
}

}  // namespace tavo
