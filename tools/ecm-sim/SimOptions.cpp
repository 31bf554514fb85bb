#include "SimOptions.h"

#include <charconv>

#include "common/AtomicFile.h"

namespace tavo::sim {

namespace {

template <typename Number>
bool parseCount(const std::string& text, Number minimum, Number& value)
{
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && next == end && value >= minimum;
}

RamPage pageAt(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    RamPage page{};
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = bytes[offset + i];
    return page;
}

// The file whole, refused unopened when it is no regular file.
bool readSimFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error)
{
    FileContent content = readWholeFile(path, kMostSimFileBytes);
    if (!content.status) {
        error = "cannot read " + path + ": " + content.status.reason();
        return false;
    }
    bytes = std::move(content.bytes);
    return true;
}

}  // namespace

bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto number = [&](auto minimum, auto& out) {
            std::string text;
            if (!value(text))
                return false;
            if (!parseCount(text, minimum, out)) {
                error = arg + " takes a whole number of at least " + std::to_string(minimum) + ": " + text;
                return false;
            }
            return true;
        };
        if (arg == "--silent") {
            options.silent = true;
        } else if (arg == "--extra-bytes") {
            options.extraBytes = true;
        } else if (arg == "--line-timed") {
            options.lineTimed = true;
        } else if (arg == "--baud") {
            std::string text;
            if (!value(text))
                return false;
            // Read wide, so that a rate beyond any line's is refused as such.
            long long baud = 0;
            if (!parseCount(text, 0LL, baud) || baud < kLowestSimBaud || baud > kHighestSimBaud) {
                error = arg + " takes a line rate of " + std::to_string(kLowestSimBaud) + " to " +
                        std::to_string(kHighestSimBaud) + " baud, as serial lines run: " + text;
                return false;
            }
            options.baud = static_cast<int>(baud);
        } else if (arg == "--answer-from-attempt") {
            if (!number(1, options.answerFromAttempt))
                return false;
        } else if (arg == "--drop-every") {
            if (!number(1, options.dropEvery))
                return false;
        } else if (arg == "--late-every") {
            if (!number(1, options.lateEvery))
                return false;
        } else if (arg == "--late-ms") {
            if (!number(0, options.lateMs))
                return false;
        } else if (arg == "--twice-every") {
            if (!number(1, options.twiceEvery))
                return false;
        } else if (arg == "--noise-every") {
            if (!number(1, options.noiseEvery))
                return false;
        } else if (arg == "--mute-after") {
            if (!number(0LL, options.muteAfter))
                return false;
        } else if (arg == "--turnaround-us") {
            if (!number(0, options.turnaroundUs))
                return false;
        } else if (arg == "--usb-latency-ms") {
            if (!number(0, options.usbLatencyMs))
                return false;
            if (options.usbLatencyMs > 255) {
                error = "--usb-latency-ms takes 0 to 255 milliseconds, as an adapter's latency timer: " +
                        std::to_string(options.usbLatencyMs);
                return false;
            }
        } else if (arg == "--record") {
            if (!value(options.recordPath))
                return false;
        } else if (arg == "--link") {
            if (!value(options.linkPath))
                return false;
        } else if (arg == "--ram") {
            if (!value(options.ramPath))
                return false;
        } else if (arg == "--frames") {
            if (!value(options.framesPath))
                return false;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

bool loadSimFiles(SimOptions& options, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    if (!options.ramPath.empty()) {
        if (!readSimFile(options.ramPath, bytes, error))
            return false;
        if (bytes.size() != 256) {
            error = "a RAM page has 256 bytes; " + options.ramPath + " has " + std::to_string(bytes.size());
            return false;
        }
        options.ram = pageAt(bytes, 0);
    }
    if (!options.framesPath.empty()) {
        if (!readSimFile(options.framesPath, bytes, error))
            return false;
        if (bytes.empty() || bytes.size() % 256 != 0) {
            error = "a frames file holds whole 256-byte pages; " + options.framesPath + " has " +
                    std::to_string(bytes.size()) + " bytes";
            return false;
        }
        options.frames.clear();
        for (std::size_t offset = 0; offset < bytes.size(); offset += 256)
            options.frames.push_back(pageAt(bytes, offset));
    }
    return true;
}

}  // namespace tavo::sim
