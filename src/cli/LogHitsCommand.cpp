// tavo-cli log-hits: how many rows of a log fell on each point of a table.
#include <memory>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "logging/LoggingConfig.h"
#include "review/HitCounts.h"
#include "review/LogRun.h"
#include "rom/RomImage.h"

namespace tavo {


namespace {

// --channel: 1 to 8, or "custom"; the slot of the ring row.
int channelSlot(const Arguments& args)
{
    const auto text = args.option("--channel");
    if (!text)
        throw UsageError{"log-hits needs --channel N (1 to 8 or custom)"};
    if (*text == "custom")
        return kCustomSlot;
    if (text->size() == 1 && (*text)[0] >= '1' && (*text)[0] <= '8')
        return (*text)[0] - '1';
    throw UsageError{"--channel takes 1 to 8 or custom: " + *text};
}

}  // namespace

int cmdLogHits(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const int slot = channelSlot(args);
    std::unique_ptr<RomImage> rom;
    const TableDef* def = loadEntry(rom, args, err);
    if (!def)
        return 1;
    if (!isGraphType(def->type)) {
        err << "tavo-cli: " << terminalText(args.words[1]) << " is a " << tableTypeName(def->type)
            << " entry; hit counts need a Normal, FiveByte or Signed table\n";
        return 1;
    }
    const auto log = readLogFile(args.words[2], err);
    if (!log)
        return 1;
    const bool logged = slot == kCustomSlot ? (log->channelMask & kCustomBit) != 0 : maskBit(log->channelMask, slot);
    if (!logged) {
        err << "tavo-cli: " << terminalText(args.words[2]) << " did not log "
            << (slot == kCustomSlot ? std::string("the custom address") : "channel " + std::to_string(slot + 1))
            << '\n';
        return 1;
    }
    // Titles play no part here: the channel is picked by its slot.
    const LogRun run = logRunOf(*log, LogChannels{});
    const RunChannel* channel = nullptr;
    for (const RunChannel& candidate : run.channels)
        if (candidate.slot == slot)
            channel = &candidate;
    const std::vector<TablePoint> points = tablePoints(*rom, *def);
    const HitCounts counts = countHits(pointXs(points), channel->values);
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
            .key("above").value(counts.above)
            .endObject();
        out << json.text() << '\n';
        return 0;
    }
    out << "index\tx\ty\thits\n";
    for (std::size_t i = 0; i < points.size(); ++i)
        out << i << '\t' << points[i].x << '\t' << points[i].y << '\t' << counts.hits[i] << '\n';
    out << "rows " << counts.rows << ", below " << counts.below << ", above " << counts.above << '\n';
    return 0;
}

}  // namespace tavo
