#include "cli/CliSupport.h"

#include <algorithm>
#include <charconv>
#include <ostream>

#include "cli/CliPrompts.h"
#include "cli/JsonWriter.h"
#include "common/AtomicFile.h"
#include "common/TextFormat.h"
#include "link/EcmLink.h"
#include "link/LinkCheck.h"
#include "link/LinkFailure.h"
#include "link/SystemSerialLine.h"
#include "logging/LoggingConfig.h"
#include "rom/RomImage.h"
#include "rom/RomLoader.h"
#include "tables/TableLookup.h"

namespace tavo {

std::optional<std::string> Arguments::option(const std::string& name) const
{
    const auto found = options.find(name);
    if (found == options.end())
        return std::nullopt;
    return found->second;
}

std::int64_t wholeNumber(const Arguments& args, const std::string& name, std::int64_t fallback, std::int64_t minimum,
                         std::int64_t maximum)
{
    const auto text = args.option(name);
    if (!text)
        return fallback;
    std::int64_t value = 0;
    const char* end = text->data() + text->size();
    const auto [next, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || next != end || value < minimum || value > maximum)
        throw UsageError{name + " takes a whole number from " + std::to_string(minimum) + " to " +
                         std::to_string(maximum) + ": " + *text};
    return value;
}

CliLink::CliLink() = default;
CliLink::~CliLink() = default;

bool CliLink::connect(const std::string& device, const SerialSettings& settings, std::ostream& err)
{
    if (!systemSerialLineAvailable()) {
        err << "tavo-cli: " << missingSerialLineReason() << '\n';
        return false;
    }
    line_ = makeSystemSerialLine();
    clock_ = std::make_unique<SystemClock>();
    link_ = std::make_unique<EcmLink>(*line_, *clock_);
    link_->connectEcm(device, settings);
    if (link_->linkConnected())
        return true;
    err << terminalText(linkFailureText(link_->state().failure, device, settings.port), true) << '\n';
    return false;
}

void writeReplyTimes(JsonWriter& json, const ReplyTimeSummary& replies)
{
    json.key("replyMs").beginObject().key("median");
    if (replies.count > 0)
        json.value(static_cast<double>(replies.medianUs) / 1000.0);
    else
        json.null();
    json.key("p95");
    if (replies.count > 0)
        json.value(static_cast<double>(replies.p95Us) / 1000.0);
    else
        json.null();
    json.key("count").value(static_cast<std::int64_t>(replies.count)).endObject();
}

std::string replyTimesLine(const ReplyTimeSummary& replies)
{
    if (replies.count == 0)
        return "tavo-cli: reply times: no reply came";
    return "tavo-cli: reply times: median " + millisecondsText(replies.medianUs) + " ms, 95th percentile " +
           millisecondsText(replies.p95Us) + " ms over " + std::to_string(replies.count) + " replies";
}

bool readLoggingConfigFor(const Arguments& args, LoggingConfig& config, std::ostream& err)
{
    setLoggingDefaults(config);
    const std::string path = args.option("--config").value_or(kLoggingConfigFile);
    const FileStatus loaded = loadLoggingConfig(config, path);
    if (loaded || (loaded.missing() && !args.option("--config")))
        return true;
    err << "tavo-cli: unable to read " << terminalText(path) << ": " << loaded.reason() << '\n';
    return false;
}

void applySpeedOptions(const Arguments& args, SerialSettings& settings)
{
    const bool low = args.option("--low-speed").has_value();
    const bool high = args.option("--high-speed").has_value();
    if (low != high)
        throw UsageError{"--low-speed and --high-speed go together"};
    if (low) {
        settings.lowSpeed = static_cast<int>(wholeNumber(args, "--low-speed", 1, 1, 4));
        settings.highSpeed = static_cast<int>(wholeNumber(args, "--high-speed", 1, 1, 4));
    }
}

std::unique_ptr<RomImage> loadImage(const std::string& path, std::ostream& err)
{
    if (fileMissing(path)) {
        err << "tavo-cli: no such image file: " << terminalText(path) << '\n';
        return nullptr;
    }
    // Only a .tbl that does not exist is missing; one that cannot be read is
    // refused by the loader with the reason.
    const std::string tbl = tablePathFor(path);
    if (fileMissing(tbl)) {
        err << "tavo-cli: no table definition file beside the image: " << terminalText(tbl)
            << "\n(TaVO creates one when it first opens the image)\n";
        return nullptr;
    }
    auto rom = std::make_unique<RomImage>();
    CliPrompts prompts(err);
    if (loadRomImageFrom(*rom, path, prompts) != LoadOutcome::Loaded)
        return nullptr;
    return rom;
}

std::string terminalText(std::string_view text, bool keepLineBreaks)
{
    return printableText(text, keepLineBreaks);
}

int findEntry(const RomImage& rom, const std::string& key)
{
    if (const int index = findTableIndexOrNone(rom, key); index >= 0)
        return index;
    for (int i = 0; i < rom.entryCount; ++i)
        if (rom.tables[static_cast<std::size_t>(i)].name == key)
            return i;
    for (int i = 0; i < rom.entryCount; ++i)
        if (equalsIgnoreCase(rom.tables[static_cast<std::size_t>(i)].name, key))
            return i;
    return -1;
}

int findEntryOrSay(const RomImage& rom, const std::string& key, std::ostream& err)
{
    const int index = findEntry(rom, key);
    if (index < 0)
        err << "tavo-cli: no entry with the Chrysler name or title " << terminalText(key) << '\n';
    return index;
}

TableDef* loadEntry(std::unique_ptr<RomImage>& rom, const Arguments& args, std::ostream& err)
{
    rom = loadImage(args.words.at(0), err);
    if (!rom)
        return nullptr;
    const int index = findEntryOrSay(*rom, args.words.at(1), err);
    return index < 0 ? nullptr : &rom->tables[static_cast<std::size_t>(index)];
}

}  // namespace tavo
