// tavo-cli log-hits: how many rows of a log fell on each point of a table.
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "logging/LoggingConfig.h"
#include "common/TextFormat.h"
#include "review/HitCounts.h"
#include "review/HitValues.h"
#include "review/LogRun.h"
#include "rom/RomImage.h"

namespace tavo {


namespace {

// A channel option's N: 1 to 8, or "custom"; the slot of the ring row.
int slotOf(const std::string& option, const std::string& text)
{
    if (text == "custom")
        return kCustomSlot;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '8')
        return text[0] - '1';
    throw UsageError{option + " takes 1 to 8 or custom: " + text};
}

// --channel: the channel that feeds the table's x axis.
int channelSlot(const Arguments& args)
{
    const auto text = args.option("--channel");
    if (!text)
        throw UsageError{"log-hits needs --channel N (1 to 8 or custom)"};
    return slotOf("--channel", *text);
}

// --value: the channel whose values at each point are summed up; none without.
std::optional<int> valueSlot(const Arguments& args)
{
    const auto text = args.option("--value");
    return text ? std::optional<int>(slotOf("--value", *text)) : std::nullopt;
}

std::string channelText(int slot)
{
    return slot == kCustomSlot ? std::string("the custom address") : "channel " + std::to_string(slot + 1);
}

const RunChannel* channelOfSlot(const LogRun& run, int slot)
{
    for (const RunChannel& candidate : run.channels)
        if (candidate.slot == slot)
            return &candidate;
    return nullptr;
}

// The channel as --value names it: 1 to 8, or custom.
std::string channelOption(int slot)
{
    return slot == kCustomSlot ? std::string("custom") : std::to_string(slot + 1);
}

// value: {channel, title, points: [{index, rows, mean, min, max}]}; a point
// without rows has nulls. The channel is a number, or "custom".
void valueJson(JsonWriter& json, const RunChannel& channel, const std::vector<PointValues>& values)
{
    json.key("value").beginObject().key("channel");
    if (channel.slot == kCustomSlot)
        json.value("custom");
    else
        json.value(channel.slot + 1);
    json.key("title").value(channel.title).key("points").beginArray();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const PointValues& at = values[i];
        json.beginObject().key("index").value(static_cast<int>(i)).key("rows").value(at.rows).key("mean");
        if (at.mean)
            json.value(roundedMean(*at.mean)).key("min").value(*at.min).key("max").value(*at.max);
        else
            json.null().key("min").null().key("max").null();
        json.endObject();
    }
    json.endArray().endObject();
}

void valueText(std::ostream& out, const RunChannel& channel, const std::vector<PointValues>& values)
{
    out << "value channel " << channelOption(channel.slot);
    if (!channel.title.empty())
        out << " (" << terminalText(channel.title) << ')';
    out << "\nindex\trows\tmean\tmin\tmax\n";
    for (std::size_t i = 0; i < values.size(); ++i) {
        const PointValues& at = values[i];
        out << i << '\t' << at.rows;
        if (at.mean)
            out << '\t' << formatFixed(*at.mean, 3) << '\t' << *at.min << '\t' << *at.max << '\n';
        else
            out << "\t-\t-\t-\n";
    }
}

}  // namespace

int cmdLogHits(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const int slot = channelSlot(args);
    const std::optional<int> valueChannel = valueSlot(args);
    std::unique_ptr<RomImage> rom;
    const TableDef* def = loadEntry(rom, args, err);
    if (!def)
        return 1;
    if (!isGraphType(def->type)) {
        err << "tavo-cli: " << terminalText(args.words[1]) << " is a " << tableTypeName(def->type)
            << " entry; hit counts need a Normal, FiveByte or Signed table\n";
        return 1;
    }
    // The titles place a CSV's columns on their channels, as in the log
    // window; a log file's channels are picked by slot alone.
    LoggingConfig config;
    if (!readLoggingConfigFor(args, config, err))
        return 1;
    const auto read = readReviewRun(args.words[2], config.channels, err);
    if (!read)
        return 1;
    const LogRun& run = *read;
    const RunChannel* channel = channelOfSlot(run, slot);
    if (!channel) {
        err << "tavo-cli: " << terminalText(args.words[2]) << " did not log " << channelText(slot) << '\n';
        return 1;
    }
    const std::vector<TablePoint> points = tablePoints(*rom, *def);
    const HitCounts counts = countHits(pointXs(points), channel->values);

    const RunChannel* value = valueChannel ? channelOfSlot(run, *valueChannel) : nullptr;
    if (valueChannel && !value) {
        err << "tavo-cli: " << terminalText(args.words[2]) << " did not log " << channelText(*valueChannel) << '\n';
        return 1;
    }
    const std::vector<PointValues> values =
        value ? pointValues(pointXs(points), channel->values, value->values) : std::vector<PointValues>{};
    if (args.json()) {
        JsonWriter json;
        json.beginObject().key("points").beginArray();
        for (std::size_t i = 0; i < points.size(); ++i)
            json.beginObject()
                .key("index").value(static_cast<int>(i))
                .key("x").value(points[i].x)
                .key("y").value(points[i].y)
                .key("hits").value(counts.hits[i])
                .endObject();
        json.endArray()
            .key("rows").value(counts.rows)
            .key("below").value(counts.below)
            .key("above").value(counts.above);
        if (value)
            valueJson(json, *value, values);
        json.endObject();
        out << json.text() << '\n';
        return 0;
    }
    out << "index\tx\ty\thits\n";
    for (std::size_t i = 0; i < points.size(); ++i)
        out << i << '\t' << points[i].x << '\t' << points[i].y << '\t' << counts.hits[i] << '\n';
    out << "rows " << counts.rows << ", below " << counts.below << ", above " << counts.above << '\n';
    if (value)
        valueText(out, *value, values);
    return 0;
}

}  // namespace tavo
