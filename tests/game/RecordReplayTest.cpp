// A run recorded with --record plays again from the recording and its seed: the same game
// events frame for frame and the same pictures, headless or from a window.
#include <fstream>
#include <sstream>

#include "game/GameRun.h"
#include "support/VirtualDisplay.h"

namespace {

// The game's own events: what the player saw happen. Input lines are left out (a recording
// replays taps of buttons and alerts as the fingers that made them), and so are the run's
// start (back end) and end (the recording ends with a quit) and the screenshots' names; so is
// the run clock's time, which is the wall clock's in a real-time run.
std::vector<std::string> gameEvents(const GameRunResult& r) {
    std::vector<std::string> out;
    for (const TraceEvent& e : r.events) {
        const std::string& name = e.name();
        if (name == "input" || name == "run-start" || name == "run-end" || name == "screenshot") continue;
        std::string line;
        for (const auto& [key, value] : e.fields)
            if (key != "time") line += key + "=" + value + " ";
        out.push_back(line);
    }
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class RecordReplayTest : public ::testing::Test {
protected:
    GameRun game;

    // Replays `recording` headless with its seed; the screenshot after `shotFrame` goes to `shot`.
    GameRunResult replay(const std::string& recording, unsigned seed, uint64_t shotFrame, const std::string& shot) {
        return game.run("--headless --seed " + std::to_string(seed) + " --script '" + recording + "' --screenshot " +
                        std::to_string(shotFrame) + ":" + shot);
    }
};

// Every kind of input: the autopilot's taps, a drag, a tilt, the HELP button and an alert's
// button. The recording names its seed and replays to the same events and picture.
TEST_F(RecordReplayTest, AHeadlessRunReplaysFromItsRecording) {
    const std::string recording = game.file("run.script");
    GameRunResult original = game.run("--headless --seed 11 --frames 700 --autoplay --record '" + recording +
                                          "' --screenshot 690:" + game.file("a.png"),
                                      "20 button \"HELP\"\n30 alert \"Okay\"\n"
                                      "300 down 1 100 100\n305 move 1 140 110\n310 up 1\n"
                                      "400 tilt 0.2 -0.3 -0.9\n500 tilt 0 0 -1\n");
    ASSERT_EQ(original.status, 0) << original.output;
    ASSERT_NE(original.scene("HelloWorldScene"), nullptr) << original.output;
    ASSERT_FALSE(original.all("jump").empty());

    const std::string script = readFile(recording);
    EXPECT_NE(script.find("--seed 11"), std::string::npos) << script;
    EXPECT_NE(script.find(" reading 0.20000000000000001 -0.29999999999999999 -0.90000000000000002\n"), std::string::npos)
        << script;
    EXPECT_NE(script.find("701 quit\n"), std::string::npos) << script;

    GameRunResult again = replay(recording, 11, 690, game.file("b.png"));
    ASSERT_EQ(again.status, 0) << again.output;
    EXPECT_TRUE(again.all("script-missed").empty()) << again.output;
    ASSERT_NE(again.first("run-end"), nullptr);
    EXPECT_EQ(again.first("run-end")->at("frames"), "700");
    EXPECT_EQ(gameEvents(original), gameEvents(again));
    EXPECT_EQ(again.all("alert-dismissed").size(), 1u);
    Screen a = readScreen(game.file("a.png")), b = readScreen(game.file("b.png"));
    ASSERT_FALSE(a.empty());
    EXPECT_TRUE(a.rgba == b.rgba);

    // A recording of the replay is the recording again, but for its heading.
    const std::string second = game.file("again.script");
    GameRunResult third = game.run("--headless --seed 11 --record '" + second + "' --script '" + recording + "'");
    ASSERT_EQ(third.status, 0) << third.output;
    auto body = [](const std::string& text) {
        std::string out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && line[0] != '#') out += line + "\n";
        return out;
    };
    EXPECT_EQ(body(readFile(second)), body(script));
}

// A window session under a virtual display, recorded, replays headless to the same game.
TEST_F(RecordReplayTest, AWindowSessionReplaysHeadless) {
    std::string xvfb = findXvfb();
    if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
    VirtualDisplay display;
    ASSERT_TRUE(display.start(xvfb));
    const std::string recording = game.file("window.script");
    GameRunResult window = game.run("--deterministic --seed 8 --frames 500 --autoplay --record '" + recording +
                                        "' --screenshot 480:" + game.file("w.png"),
                                    "200 tilt 0.3 0 -0.9\n");
    ASSERT_EQ(window.status, 0) << window.output;
    ASSERT_NE(window.first("run-start"), nullptr);
    ASSERT_EQ(window.first("run-start")->at("backend"), "window");
    ASSERT_FALSE(window.all("jump").empty());
    display.stop();

    GameRunResult headless = replay(recording, 8, 480, game.file("h.png"));
    ASSERT_EQ(headless.status, 0) << headless.output;
    EXPECT_EQ(headless.first("run-start")->at("backend"), "headless");
    EXPECT_EQ(gameEvents(window), gameEvents(headless));
    Screen w = readScreen(game.file("w.png")), h = readScreen(game.file("h.png"));
    ASSERT_FALSE(w.empty());
    EXPECT_TRUE(w.rgba == h.rgba);
}

// A real-time session, in a window under a virtual display and headless, losing focus on the
// way: its frames last what the wall clock gave them, and the recording brings those times,
// so a deterministic headless replay makes the same game frame for frame.
TEST_F(RecordReplayTest, ARealTimeSessionReplaysExactly) {
    std::string xvfb = findXvfb();
    VirtualDisplay display;
    std::vector<std::string> backends{"--headless"};
    if (!xvfb.empty() && display.start(xvfb)) backends.push_back("");
    for (const std::string& backend : backends) {
        SCOPED_TRACE(backend.empty() ? "window" : "headless");
        const std::string recording = game.file("realtime.script");
        GameRunResult live = game.run(backend + " --real-time --seed 5 --frames 420 --autoplay --record '" +
                                          recording + "' --screenshot 400:" + game.file("live.png"),
                                      "150 focus out\n156 focus in\n250 tilt 0 0.3 -0.9\n");
        ASSERT_EQ(live.status, 0) << live.output;
        ASSERT_EQ(live.first("run-start")->at("deterministic"), "false");
        ASSERT_FALSE(live.all("jump").empty()) << live.output;
        const std::string script = readFile(recording);
        EXPECT_NE(script.find("150 focus out\n"), std::string::npos);
        EXPECT_NE(script.find(" clock "), std::string::npos);

        GameRunResult again = replay(recording, 5, 400, game.file("again.png"));
        ASSERT_EQ(again.status, 0) << again.output;
        EXPECT_EQ(again.first("run-start")->at("deterministic"), "true");
        EXPECT_TRUE(again.all("script-missed").empty()) << again.output;
        EXPECT_EQ(gameEvents(live), gameEvents(again));
        Screen a = readScreen(game.file("live.png")), b = readScreen(game.file("again.png"));
        ASSERT_FALSE(a.empty());
        EXPECT_TRUE(a.rgba == b.rgba);
    }
}

// A recording that cannot be made stops the run before it starts, naming the file.
TEST_F(RecordReplayTest, ARecordingThatCannotBeWrittenStopsTheRunFirst) {
    GameRunResult r = game.run("--headless --frames 10 --record '" + game.file("no/such/folder/x.script") + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot write the recording \"" + game.file("no/such/folder/x.script") + "\""),
              std::string::npos)
        << r.output;
    EXPECT_TRUE(r.events.empty() || r.first("run-start") == nullptr);
}

} // namespace
