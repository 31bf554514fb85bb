#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "live/LiveHits.h"
#include "logging/Acquisition.h"
#include "review/HitCounts.h"

namespace tavo {
namespace {

// Points at x 10, 50, 50 (shadowed) and 100; channel 2 (slot 1) logged.
const std::vector<int> kXs{10, 50, 50, 100};
constexpr int kSlot = 1;

struct Ring {
    AcquisitionState state;
    Ring() { state.channelMask = 0b10; }
    // A stored row, as a tick stores it: slot 1 reads `value`.
    void store(std::uint8_t value)
    {
        state.writePos = ringRow(state.writePos + 1);
        state.samples[static_cast<std::size_t>(state.writePos)][kSlot] = value;
        ++state.sampleCount;
    }
    void store(const std::vector<std::uint8_t>& values)
    {
        for (const std::uint8_t value : values)
            store(value);
    }
};

TEST(LiveHitCounts, countRowsStoredSinceTheStartByTheLogWindowsHitRule)
{
    Ring ring;
    ring.store({50, 50, 50});  // before the start: not counted
    LiveHitCounts live;
    live.setTable(kXs, kSlot);
    live.startAt(ring.state.sampleCount);

    const std::vector<std::uint8_t> drive{0, 9, 10, 30, 31, 50, 74, 75, 76, 100, 101, 255};
    ring.store(drive);
    EXPECT_TRUE(live.catchUp(ring.state));
    const HitCounts expected = countHits(kXs, drive);
    EXPECT_EQ(live.counts().hits, expected.hits);
    EXPECT_EQ(live.counts().rows, expected.rows);
    EXPECT_EQ(live.counts().below, 2) << "below the smallest x: for no point";
    EXPECT_EQ(live.counts().above, 2) << "above the largest x: for no point";
    EXPECT_EQ(live.counts().hits[2], 0) << "an equal x counts for the first point";

    // Each stored row counts once, however often the counts catch up; ticks
    // that stored nothing (a gap) add nothing.
    EXPECT_FALSE(live.catchUp(ring.state));
    ring.store(100);
    EXPECT_TRUE(live.catchUp(ring.state));
    EXPECT_FALSE(live.catchUp(ring.state));
    EXPECT_EQ(live.counts().hits[3], expected.hits[3] + 1);
}

TEST(LiveHitCounts, aResetCountsFromZeroAndAChannelTheRunDoesNotLogCountsNothing)
{
    Ring ring;
    LiveHitCounts live;
    live.setTable(kXs, kSlot);
    live.startAt(0);
    ring.store({10, 10});
    live.catchUp(ring.state);
    live.startAt(ring.state.sampleCount);
    EXPECT_EQ(live.counts().hits, (std::vector<int>{0, 0, 0, 0}));
    ring.store(50);
    live.catchUp(ring.state);
    EXPECT_EQ(live.counts().hits, (std::vector<int>{0, 1, 0, 0}));

    live.setTable(kXs, 5);  // channel 6: not in the run's mask
    ring.store(100);
    EXPECT_FALSE(live.catchUp(ring.state));
    EXPECT_EQ(live.counts().rows, 0);
}

TEST(LiveHitCounts, anotherTableCountsAgainFromTheStartAsFarAsTheRingStillHoldsTheRows)
{
    Ring ring;
    LiveHitCounts live;
    live.setTable(kXs, kSlot);
    live.startAt(0);
    ring.store({10, 50});
    live.catchUp(ring.state);

    live.setTable({5, 60}, kSlot);
    live.catchUp(ring.state);
    EXPECT_EQ(live.counts().hits, (std::vector<int>{1, 1})) << "both rows since the start, by the new points";

    // More rows than the ring holds: the overwritten ones are not counted.
    for (int i = 0; i < kRingRows + 10; ++i)
        ring.store(60);
    live.setTable(kXs, kSlot);
    live.catchUp(ring.state);
    EXPECT_EQ(live.counts().rows, kRingRows);
    EXPECT_EQ(live.counts().hits[1], kRingRows);
}

TEST(LiveHitCounts, theReadOutSaysThePointUnderTheCursorAndTheRowsBeyondTheTable)
{
    Ring ring;
    LiveHitCounts live;
    live.setTable(kXs, kSlot);
    live.startAt(0);
    ring.store({9, 50, 50, 75, 200});
    live.catchUp(ring.state);
    EXPECT_EQ(liveHitText(live, 31), "Point 1 (x 50): 3 of 5 rows");
    EXPECT_EQ(liveHitText(live, 76), "Point 3 (x 100): 0 of 5 rows");
    EXPECT_EQ(liveHitText(live, 0), "Below the smallest x: 1 of 5 rows");
    EXPECT_EQ(liveHitText(live, 101), "Above the largest x: 1 of 5 rows");
}

TEST(LiveHitShades, shadeEachHitPointsCellByItsShareWithAFaintestShadeForOneRow)
{
    const std::vector<HitCell> cells = hitCells(kXs);
    const std::vector<LiveHitShade> shades = liveHitShades(cells, {1, 0, 0, 100});
    ASSERT_EQ(shades.size(), 2u) << "points without hits are not shaded";
    // Point 0 takes 10 to 30 (the tie at 30 goes to the lower x), point 3 76 to 100.
    EXPECT_EQ(shades[0].point, 0);
    EXPECT_EQ(shades[0].left, 10);
    EXPECT_EQ(shades[0].width, 21);
    EXPECT_NEAR(shades[0].strength, kFaintestHitShade + (1 - kFaintestHitShade) * 0.01, 1e-9);
    EXPECT_EQ(shades[1], (LiveHitShade{3, 76, 25, 1.0}));
    EXPECT_TRUE(liveHitShades(cells, {0, 0, 0, 0}).empty());
}

}  // namespace
}  // namespace tavo
