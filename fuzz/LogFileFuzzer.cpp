// The log file reader and the row order rule: a log file (see FuzzLogs.h)
// with the titles of a fuzzed Logging.cfg. The bytes read are the bytes
// written again; the rows a run is made of are the ring's logged rows, each
// once, oldest first, ending at writePos; and the CSV that "Save Current
// Log..." and the log window export write of it reads back, through the log
// window's reader, as the same channels holding the same values.
//
// Input: the log, then optionally kPartMarker and the Logging.cfg bytes.
#include <algorithm>
#include <bitset>
#include <cmath>
#include <vector>

#include "FuzzLogs.h"
#include "FuzzSupport.h"
#include "common/TextFormat.h"
#include "logging/LogCsv.h"
#include "review/LogRun.h"
#include "review/LogRunReader.h"

using namespace tavo;

namespace {

constexpr int kCsvAlways = 64;

bool rowHoldsValue(const SampleRow& row)
{
    return std::any_of(row.begin(), row.end(), [](std::uint8_t value) { return value != 0; });
}

void checkRowOrder(const LogFileContent& log, bool wrapped, int count)
{
    const int newest = ringRow(log.writePos);
    FUZZ_CHECK(count == (wrapped ? kRingRows : newest));
    // Unwrapped, the rows never written hold nothing: row 0 and those after writePos.
    if (!wrapped) {
        for (int row = newest + 1; row < kRingRows; ++row)
            FUZZ_CHECK(!rowHoldsValue(log.samples[static_cast<std::size_t>(row)]));
        FUZZ_CHECK(newest == 0 || !rowHoldsValue(log.samples[0]));
    }
    std::vector<bool> seen(kRingRows, false);
    for (int k = 0; k < count; ++k) {
        const int row = loggedRow(log, count, k);
        FUZZ_CHECK(row >= 0 && row < kRingRows && !seen[static_cast<std::size_t>(row)]);
        seen[static_cast<std::size_t>(row)] = true;
        if (k > 0)
            FUZZ_CHECK(row == ringRow(loggedRow(log, count, k - 1) + 1LL));
    }
    FUZZ_CHECK(count == 0 || loggedRow(log, count, count - 1) == newest);
}

void checkRun(const LogFileContent& log, const LogRun& run, int count)
{
    // A log file holds no times: nominal seconds at a fixed rate, rows counted at "Fastest".
    FUZZ_CHECK(run.rowCount() == count &&
               run.times == (log.samplePeriodMs > 1 ? RunTimes::Nominal : RunTimes::Rows) && run.gaps.empty());
    FUZZ_CHECK(run.channels.size() == std::bitset<32>(log.channelMask & 0x1FFu).count());
    for (std::size_t k = 1; k < run.seconds.size(); ++k)
        FUZZ_CHECK(run.seconds[k] > run.seconds[k - 1]);
    for (const RunChannel& channel : run.channels) {
        FUZZ_CHECK(static_cast<int>(channel.values.size()) == count);
        for (int k = 0; k < count; ++k)
            FUZZ_CHECK(channel.values[static_cast<std::size_t>(k)] ==
                       log.samples[static_cast<std::size_t>(loggedRow(log, count, k))]
                                  [static_cast<std::size_t>(channel.slot)]);
    }
}

// The CSV of the run, read back by the log window.
void checkCsv(const LogRun& run, const LogChannels& titles)
{
    const std::string csv = runCsv(run);
    const LogRunRead back = readLogRun(csv, titles);
    FUZZ_CHECK(back.run.has_value());
    FUZZ_CHECK(back.run->rowCount() == run.rowCount());
    FUZZ_CHECK(back.run->channels.size() == run.channels.size());
    for (std::size_t c = 0; c < run.channels.size(); ++c) {
        FUZZ_CHECK(back.run->channels[c].title == run.channels[c].title);
        FUZZ_CHECK(back.run->channels[c].values == run.channels[c].values);
        // A CSV names its channels by title only: a column finds its own
        // channel when no other channel bears that title (and a channel
        // titled "Custom" is not taken for the custom address).
        const std::string& title = run.channels[c].title;
        const bool tellable = std::count_if(titles.begin(), titles.end(), [&](const LogChannel& channel) {
                                  return printableText(channel.titleText()) == title;
                              }) <= 1 && (title != "Custom" || run.channels[c].slot == kCustomSlot);
        FUZZ_CHECK(!tellable || back.run->channels[c].slot == run.channels[c].slot);
    }
    FUZZ_CHECK(runCsv(*back.run) == csv);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzz::inputParts(fuzz::bytesOf(data, size), 2);
    // A file of any other length is no log file.
    FUZZ_CHECK(decodeLogFile(parts[0]).has_value() == (parts[0].size() == kLogFileSize));

    const std::string& bytes = fuzz::logFileBytes(parts[0]);
    const auto log = decodeLogFile(bytes);
    FUZZ_CHECK(log.has_value());
    FUZZ_CHECK(encodeLogFile(*log) == bytes);

    const bool wrapped = ringLooksWrapped(*log);
    const int count = loggedRowCount(*log, wrapped);
    checkRowOrder(*log, wrapped, count);

    const LogChannels titles = fuzz::titlesOf(parts[1]);
    const LogRunRead read = readLogRun(bytes, titles);
    FUZZ_CHECK(read.run.has_value() && read.problem.empty());
    checkRun(*log, *read.run, count);
    // The CSV round trip costs most of an input's time: short runs take it
    // always, longer ones when the input's last byte asks for it (0xF0 to
    // 0xFE: neither text nor the zero or 0xFF that mutations leave at the end
    // so often), so the fuzzer still reaches it at will.
    const bool asked = size > 0 && data[size - 1] >= 0xF0 && data[size - 1] != 0xFF;
    if (fuzz::kReplaying || count <= kCsvAlways || asked)
        checkCsv(*read.run, titles);
    return 0;
}
