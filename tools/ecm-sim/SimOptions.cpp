#include "SimOptions.h"

#include <charconv>
#include <fstream>
#include <iterator>

namespace tavo::sim {

namespace {

bool readFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool parseCount(const std::string& text, int minimum, int& value)
{
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && next == end && value >= minimum;
}

RamPage pageAt(const std::string& bytes, std::size_t offset)
{
    RamPage page{};
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>(bytes[offset + i]);
    return page;
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
        auto number = [&](int minimum, int& out) {
            std::string text;
            if (!value(text))
                return false;
            if (!parseCount(text, minimum, out)) {
                error = arg + " takes a whole number of at least " + std::to_string(minimum) + ": " + text;
                return false;
            }
            return true;
        };
        std::string text;
        if (arg == "--silent") {
            options.silent = true;
        } else if (arg == "--extra-bytes") {
            options.extraBytes = true;
        } else if (arg == "--line-timed") {
            options.lineTimed = true;
        } else if (arg == "--baud") {
            int baud = 0;
            if (!number(50, baud))
                return false;
            options.baud = baud;
        } else if (arg == "--answer-from-attempt") {
            if (!number(1, options.answerFromAttempt))
                return false;
        } else if (arg == "--drop-every") {
            if (!number(1, options.dropEvery))
                return false;
        } else if (arg == "--turnaround-us") {
            if (!number(0, options.turnaroundUs))
                return false;
        } else if (arg == "--record") {
            if (!value(options.recordPath))
                return false;
        } else if (arg == "--link") {
            if (!value(options.linkPath))
                return false;
        } else if (arg == "--ram" || arg == "--frames") {
            std::string bytes;
            if (!value(text))
                return false;
            if (!readFile(text, bytes)) {
                error = "cannot read " + text;
                return false;
            }
            if (arg == "--ram") {
                if (bytes.size() != 256) {
                    error = "a RAM page has 256 bytes; " + text + " has " + std::to_string(bytes.size());
                    return false;
                }
                options.ram = pageAt(bytes, 0);
            } else {
                if (bytes.empty() || bytes.size() % 256 != 0) {
                    error = "a frames file holds whole 256-byte pages; " + text + " has " +
                            std::to_string(bytes.size()) + " bytes";
                    return false;
                }
                options.frames.clear();
                for (std::size_t offset = 0; offset < bytes.size(); offset += 256)
                    options.frames.push_back(pageAt(bytes, offset));
            }
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

}  // namespace tavo::sim
