// The simulated ECM's options: tavo-ecm-sim's fuzzed command line parsed and
// its --ram and --frames files read (from a folder of this process's own
// holding ram.bin, a 256-byte page, and frames.bin, three pages; a '/' in a
// word becomes '_'), then the ECM built from them hears a request script.
// A refused line says why; an accepted one answers as its options say:
// one byte (three with --extra-bytes) or nothing, 0x12 to 0x12, 0xFF to a
// sync check, the page's byte otherwise; never when silent or muted; and
// every request heard is answered or ignored.
//
// Input: the NUL-separated words, then optionally kPartMarker and the
// script: pairs of a request byte and a rate (its value modulo 4 picks 976,
// 7812, 62500 or 125000 baud).
#include <algorithm>
#include <climits>
#include <string>

#include "EcmResponder.h"
#include "FuzzSupport.h"
#include "SimOptions.h"

using namespace tavo;

namespace {

constexpr int kRates[] = {976, 7812, 62500, 125000};

// The connection procedure, a sync check and a Live RAM page.
const std::string kDefaultScript = [] {
    std::string script = {'\x12', 2, '\x12', 0, '\x12', 2, '\x00', 2};
    for (char address = 0x40; address < 0x50; ++address)
        script += {address, 2};
    return script + std::string{'\x00', 2};
}();

void makeFixture()
{
    static const bool made = [] {
        // Page f holds (address XOR 0x5A) + f; ram.bin is page 0.
        std::string frames;
        for (int f = 0; f < 3; ++f)
            for (int i = 0; i < 256; ++i)
                frames += static_cast<char>((i ^ 0x5A) + f);
        fuzz::scratchFile("ram.bin", std::string_view(frames).substr(0, 256));
        fuzz::scratchFile("frames.bin", frames);
        return true;
    }();
    static_cast<void>(made);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    makeFixture();
    const auto parts = fuzz::inputParts(fuzz::bytesOf(data, size), 2);
    std::vector<std::string> args = fuzz::nulSeparatedWords(parts[0]);
    for (std::string& word : args)
        std::replace(word.begin(), word.end(), '/', '_');

    sim::SimOptions options;
    std::string error;
    if (!sim::parseSimOptions(args, options, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    const fuzz::InScratchFolder here;
    if (!sim::loadSimFiles(options, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(!options.ram || options.ram->size() == 256);
    FUZZ_CHECK(options.framesPath.empty() || !options.frames.empty());
    FUZZ_CHECK(!options.baud || (*options.baud >= sim::kLowestSimBaud && *options.baud <= sim::kHighestSimBaud));

    sim::EcmResponder ecm(options);
    const std::string_view script = parts[1].empty() ? std::string_view(kDefaultScript) : parts[1];
    double seconds = 0;
    for (std::size_t i = 0; i + 1 < script.size(); i += 2) {
        const auto request = static_cast<std::uint8_t>(script[i]);
        const int baud = kRates[static_cast<unsigned char>(script[i + 1]) % 4];
        const sim::SimReply reply = ecm.hear(request, baud, seconds);
        seconds += 0.01;
        FUZZ_CHECK(reply.count == 0 || reply.count == (options.extraBytes ? 3 : 1));
        FUZZ_CHECK(reply.followUpCount == 0 || reply.followUpCount == 1);
        FUZZ_CHECK(reply.lateMs == 0 || reply.lateMs == options.lateMs);
        if (reply.count == 0)
            continue;
        FUZZ_CHECK(!options.silent);
        if (request == 0x12)
            FUZZ_CHECK(reply.bytes[0] == 0x12);
        else if (request == 0x00)
            FUZZ_CHECK(reply.bytes[0] == 0xFF);
        else if (options.ram && options.frames.empty())
            FUZZ_CHECK(reply.bytes[0] == (*options.ram)[request]);
    }
    const sim::SimStatistics& statistics = ecm.statistics();
    FUZZ_CHECK(statistics.heard == statistics.replied + statistics.ignored);
    FUZZ_CHECK(statistics.heard == script.size() / 2);
    FUZZ_CHECK(options.muteAfter < 0 || statistics.replied <= static_cast<std::uint64_t>(options.muteAfter));
    return 0;
}
