// Hit counts and log statistics over fuzzed logs: a run read as the log
// window reads it (a CSV that TaVO wrote, or a log file in the short form
// of FuzzLogs.h), and a fuzzed table. Statistics agree with the values;
// every row counts once, for the point nearest its value (the lower x on a
// tie, the first point of equal x) or apart below or above the table; the
// cells of the points share the values between them; the hit picture's
// shades are shares of the most hits.
//
// Input: the log, then kPartMarker, then the table: its kind (the first
// byte's value modulo 3: Normal, FiveByte, Signed), its address (two bytes,
// high first) and its bytes from there on.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <utility>

#include "FuzzLogs.h"
#include "FuzzSupport.h"
#include "review/HitCounts.h"
#include "review/HitPictureGeometry.h"
#include "review/LogRunReader.h"
#include "review/LogStatistics.h"
#include "rom/RomImage.h"

using namespace tavo;

namespace {

constexpr std::size_t kPointsAlwaysPictured = 32;
constexpr std::size_t kMostPointsPictured = 1024;

// The fuzzed table as the one entry of an image.
const RomImage* tableImage(std::string_view part)
{
    // Only the image and the first definition are ever written here, so
    // only they are made new again: copying a whole fresh record (514
    // definitions) cost more than the rest of an input.
    static RomImage record;
    RomImage* const rom = &record;
    std::fill(rom->image.begin(), rom->image.end(), std::uint8_t{0});
    rom->tables[0] = TableDef{};
    rom->entryCount = 1;
    TableDef& def = rom->tables[0];
    constexpr TableType kKinds[] = {TableType::Normal, TableType::FiveByte, TableType::Signed};
    def.type = part.empty() ? TableType::Normal : kKinds[static_cast<unsigned char>(part[0]) % 3];
    if (part.size() >= 3)
        def.offset = static_cast<unsigned char>(part[1]) << 8 | static_cast<unsigned char>(part[2]);
    const std::string_view bytes = part.substr(std::min<std::size_t>(part.size(), 3));
    for (std::size_t i = 0; i < bytes.size() && def.offset + i < kAddressSpace; ++i)
        rom->image[def.offset + i] = static_cast<std::uint8_t>(bytes[i]);
    bindTables(*rom);
    return rom;
}

void checkStatistics(const LogRun& run)
{
    const std::vector<ChannelStatistics> all = channelStatistics(run);
    FUZZ_CHECK(all.size() == run.channels.size());
    for (std::size_t c = 0; c < all.size(); ++c) {
        const ChannelStatistics& stats = all[c];
        const std::vector<std::uint8_t>& values = run.channels[c].values;
        FUZZ_CHECK(stats.rows == static_cast<int>(values.size()));
        FUZZ_CHECK(stats.min.has_value() == !values.empty() && stats.mean.has_value() == !values.empty());
        if (values.empty())
            continue;
        FUZZ_CHECK(*stats.min == *std::min_element(values.begin(), values.end()));
        FUZZ_CHECK(*stats.max == *std::max_element(values.begin(), values.end()));
        FUZZ_CHECK(*stats.mean >= *stats.min && *stats.mean <= *stats.max);
        FUZZ_CHECK(*stats.last == values.back());
    }
}

// The point a value counts for, found the slow way: every x looked at (of
// equal xs the first point, the one that counts; a FiveByte table may have
// thousands of points over at most 256 xs).
int nearestPoint(const std::vector<std::pair<int, int>>& firstOfX, int least, int greatest, int value)
{
    if (firstOfX.empty())
        return kHitNone;
    if (value < least)
        return kHitBelow;
    if (value > greatest)
        return kHitAbove;
    std::size_t best = 0;
    for (std::size_t i = 1; i < firstOfX.size(); ++i) {
        const int d = std::abs(firstOfX[i].first - value);
        const int bestD = std::abs(firstOfX[best].first - value);
        if (d < bestD || (d == bestD && firstOfX[i].first < firstOfX[best].first))
            best = i;
    }
    return firstOfX[best].second;
}

void checkLookup(const std::vector<int>& xs)
{
    const std::array<int, 256> lookup = hitLookup(xs);
    const int least = xs.empty() ? 0 : *std::min_element(xs.begin(), xs.end());
    const int greatest = xs.empty() ? 0 : *std::max_element(xs.begin(), xs.end());
    std::vector<std::pair<int, int>> firstOfX;  // each x with its first point
    std::array<bool, 256> seen{};
    for (std::size_t i = 0; i < xs.size(); ++i) {
        FUZZ_CHECK(xs[i] >= 0 && xs[i] <= 255);
        if (!seen[static_cast<std::size_t>(xs[i])])
            firstOfX.emplace_back(xs[i], static_cast<int>(i));
        seen[static_cast<std::size_t>(xs[i])] = true;
    }
    for (int v = 0; v < 256; ++v)
        FUZZ_CHECK(lookup[static_cast<std::size_t>(v)] == nearestPoint(firstOfX, least, greatest, v));
    // The cells are the values of their point: disjoint, and together every
    // value that counts for a point.
    const std::vector<HitCell> cells = hitCells(xs);
    FUZZ_CHECK(cells.size() == xs.size());
    int inCells = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (int v = std::max(cells[i].first, 0); v <= std::min(cells[i].last, 255); ++v)
            FUZZ_CHECK(lookup[static_cast<std::size_t>(v)] == static_cast<int>(i));
        FUZZ_CHECK(cells[i].last < cells[i].first || (cells[i].first >= 0 && cells[i].last <= 255));
        inCells += std::max(cells[i].last - cells[i].first + 1, 0);
    }
    FUZZ_CHECK(inCells == static_cast<int>(std::count_if(lookup.begin(), lookup.end(), [](int point) { return point >= 0; })));
}

void checkHits(const std::vector<int>& xs, const std::vector<std::uint8_t>& values)
{
    const HitCounts counts = countHits(xs, values);
    FUZZ_CHECK(counts.rows == static_cast<int>(values.size()) && counts.hits.size() == xs.size());
    long counted = counts.below + counts.above;
    for (const int hits : counts.hits)
        counted += hits;
    FUZZ_CHECK(counted == (xs.empty() ? 0 : counts.rows));

}

void checkPicture(const std::vector<int>& xs, const std::vector<std::uint8_t>& values)
{
    const HitCounts counts = countHits(xs, values);
    std::vector<int> widths;
    for (const int hits : counts.hits)
        widths.push_back(6 * static_cast<int>(std::to_string(hits).size()));
    const HitPicture picture = hitPicture(xs, counts, widths, 2);
    FUZZ_CHECK(picture.width > 0 && picture.height > picture.summaryTop);
    for (const HitShade& shade : picture.shades)
        FUZZ_CHECK(shade.share >= 0 && shade.share <= 1 && shade.width > 0);
    for (const HitBar& bar : picture.bars)
        FUZZ_CHECK(bar.height > 0 && bar.top >= picture.graphTop);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzz::inputParts(fuzz::bytesOf(data, size), 2);
    const bool csv = parts[0].substr(0, 11) == "row,seconds";
    static const LogChannels titles = fuzz::titlesOf({});
    const LogRunRead read = readLogRun(csv ? parts[0] : std::string_view(fuzz::logFileBytes(parts[0])), titles);
    if (!read.run)
        return 0;
    checkStatistics(*read.run);

    const RomImage* const rom = tableImage(parts[1]);
    const std::vector<TablePoint> points = tablePoints(*rom, rom->tables[0]);
    const std::vector<int> xs = pointXs(points);
    FUZZ_CHECK(static_cast<int>(xs.size()) <= std::max(rom->tables[0].count, 0));
    checkLookup(xs);
    checkHits(xs, {});
    // Every channel's rows at once: the lookup costs 256 x the points a call.
    std::vector<std::uint8_t> all;
    for (const RunChannel& channel : read.run->channels)
        all.insert(all.end(), channel.values.begin(), channel.values.end());
    checkHits(xs, all);
    // The picture of the first channel: its label rows grow with the points
    // squared, so a table of more points gets it when the input's last byte
    // asks (0xF0 to 0xFE: neither text nor the zero or 0xFF that mutations
    // leave there so often), one of thousands (a FiveByte table without its
    // end row) in the replay only.
    const bool asked = size > 0 && data[size - 1] >= 0xF0 && data[size - 1] != 0xFF;
    if (fuzz::kReplaying || xs.size() <= kPointsAlwaysPictured || (asked && xs.size() <= kMostPointsPictured))
        checkPicture(xs, read.run->channels.empty() ? std::vector<std::uint8_t>{} : read.run->channels[0].values);
    return 0;
}
