// How runs of the real program end: by a signal, and with a trace that cannot be written.
#include <csignal>

#include "game/GameRun.h"

namespace {

class GameRunEndTest : public ::testing::Test {
protected:
    GameRun game;
};

// A headless run with no limit ends on SIGINT, SIGTERM or SIGHUP as any other run does.
TEST_F(GameRunEndTest, ASignalEndsAHeadlessRunWithItsRecordAndSummary) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        pid_t pid = game.start("--headless --seed 4 --autoplay");
        ASSERT_GT(pid, 0);
        if (!game.waitForTrace("\"HelloWorldScene\"", 60)) {
            // Not left running: it would never end by itself. Its output says why it is late.
            kill(pid, SIGKILL);
            GameRunResult r = game.finish(pid);
            FAIL() << "no game scene within 60 s; exit status " << r.status << "\n" << r.output;
        }
        kill(pid, signal);
        GameRunResult r = game.finish(pid);
        EXPECT_EQ(r.status, 128 + signal) << r.output;
        ASSERT_FALSE(r.events.empty());
        const TraceEvent& end = r.events.back();
        ASSERT_EQ(end.name(), "run-end") << end.line;
        EXPECT_EQ(end.at("reason"), "terminated");
        EXPECT_EQ(end.at("signal"), std::to_string(signal));
        // The last frame finished: the record's frame is the count of frames drawn.
        EXPECT_EQ(end.at("frames"), end.at("frame"));
        EXPECT_GT(end.number("frames"), 100);
        EXPECT_NE(r.output.find("zorvik: " + end.at("frames") + " frames in"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("interrupted"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("running headless until interrupted; --seconds N stops by itself"),
                  std::string::npos)
            << r.output;
    }
}

// A trace that outgrows the file-size limit is an error naming it; the summary still counts
// the whole game, and the file holds whole lines only.
TEST_F(GameRunEndTest, ATraceThatCannotBeWrittenFailsTheRunAndTheSummaryKeepsCounting) {
    pid_t pid = game.start("--headless --seed 4 --autoplay --seconds 12", "ulimit -f 2;");
    GameRunResult r = game.finish(pid);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("cannot write the trace \"" + game.lastTrace() + "\": File too large"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("zorvik: 720 frames in 12.0 s"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find(" 0 jumps"), std::string::npos) << r.output;
    ASSERT_FALSE(r.events.empty());
    EXPECT_NE(r.events.back().name(), "run-end");
    for (const TraceEvent& e : r.events) EXPECT_EQ(e.line.back(), '}') << e.line;
}

// Headless frames are shown to no one, but each is still handed to the GL driver: one that never
// is keeps every frame's uploads, and a long run grows without end. The driver's own threads
// draw here, as in a player's run, and freed memory is not held back for checking.
TEST_F(GameRunEndTest, ALongHeadlessRunHoldsNoMoreMemoryThanAShortOne) {
    const std::string env = "LP_NUM_THREADS=2 ASAN_OPTIONS=\"$ASAN_OPTIONS:quarantine_size_mb=0\"";
    auto peak = [&](int frames) {
        pid_t pid = game.start("--headless --seed 4 --autoplay --frames " + std::to_string(frames), "export " + env + ";");
        GameRunResult r = game.finish(pid);
        EXPECT_EQ(r.status, 0) << r.output;
        return r.peakKilobytes;
    };
    const long shortRun = peak(300);
    const long longRun = peak(2400);
    ASSERT_GT(shortRun, 0);
    // Unflushed frames held 40 to 150 KB each: 80 MB or more over the longer run.
    EXPECT_LT(longRun - shortRun, 32 * 1024) << shortRun << " KB, then " << longRun << " KB";
}

} // namespace
