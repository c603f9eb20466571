// The run clock hands the director the times recorded for each frame, read by read, and
// records the reads of a live run.
#include <gtest/gtest.h>

#include <vector>

#include "CCRunClock.h"

namespace {

CCTimeValue at(int32_t sec, int32_t usec) { return CCTimeValue{sec, usec}; }

struct Recorded {
    uint64_t frame;
    CCTimeValue time;
};

class CCRunClockTest : public ::testing::Test {
protected:
    uint64_t frame = 1;
    CCRunClock clock{[this] { return frame; }};
    ~CCRunClockTest() override { CCClock::setTimeOfDaySource(nullptr); }

    CCTimeValue read() {
        CCTimeValue t{-1, -1};
        EXPECT_TRUE(CCClock::getTimeOfDay(&t));
        return t;
    }
};

TEST_F(CCRunClockTest, ReplaysTheReadsOfEachFrameInOrder) {
    clock.replay({{1, at(100, 0)}, {1, at(100, 5)}, {2, at(100, 16000)}, {4, at(101, 2)}, {5, at(101, 9)}});
    CCClock::setTimeOfDaySource(&clock);
    // Two reads at the launch (frame 1), then one per frame.
    EXPECT_EQ(read().tv_usec, 0);
    EXPECT_EQ(read().tv_usec, 5);
    frame = 2;
    EXPECT_EQ(read().tv_usec, 16000);
    EXPECT_EQ(read().tv_usec, 16000) << "a read more than recorded: no time passes";
    frame = 3; // nothing recorded for frame 3: the last time again
    EXPECT_EQ(read().tv_usec, 16000);
    frame = 5; // frame 4's read was never asked for
    CCTimeValue t = read();
    EXPECT_EQ(t.tv_sec, 101);
    EXPECT_EQ(t.tv_usec, 9);
    frame = 9;
    EXPECT_EQ(read().tv_usec, 9) << "past the recording: the last time";
}

TEST_F(CCRunClockTest, RecordsLiveReadsAndTheReplayedOnes) {
    std::vector<Recorded> seen;
    clock.record([&](uint64_t f, const CCTimeValue& t) { seen.push_back({f, t}); });
    CCClock::setTimeOfDaySource(&clock);
    CCTimeValue own{};
    ASSERT_TRUE(CCClock::ownTimeOfDay(&own));
    CCTimeValue live = read();
    EXPECT_GE(live.tv_sec, own.tv_sec);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].frame, 1u);
    EXPECT_EQ(seen[0].time.tv_usec, live.tv_usec);

    // Replaying while recording writes the replayed times again.
    clock.replay({{2, at(7, 70)}});
    frame = 2;
    read();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].time.tv_sec, 7);
    EXPECT_EQ(seen[1].time.tv_usec, 70);

    // A failing clock still fails through the source.
    CCClock::setFailsReads(true);
    CCTimeValue t{};
    EXPECT_FALSE(CCClock::getTimeOfDay(&t));
    CCClock::setFailsReads(false);
}

} // namespace
