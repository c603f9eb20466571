// The real program, headless with a fixed seed, a script and a trace.
#include <algorithm>
#include <cmath>
#include <csignal>

#include "game/GameRun.h"
#include "support/VirtualDisplay.h"

namespace {

constexpr const char* kHeadless = "--headless --seed 5";

// Greenish pixels of the bitmap font.
bool isGreen(uint32_t c) {
    int r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
    return g > 120 && g > r + 40 && g > b + 40;
}
bool isSky(uint32_t c) {
    int r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
    return b > 180 && b > r + 30 && g > 120;
}
bool isBlue(uint32_t c) {
    int r = c >> 16 & 255, b = c & 255;
    return b > 150 && b > r + 80;
}
bool isGrey(uint32_t c) {
    int r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
    return r > 60 && std::abs(r - g) < 12 && std::abs(g - b) < 12;
}
bool isBright(uint32_t c) { return (c >> 16 & 255) > 200 && (c >> 8 & 255) > 200 && (c & 255) > 200; }
bool isDark(uint32_t c) { return (c >> 16 & 255) < 40 && (c >> 8 & 255) < 40 && (c & 255) < 40; }

class GameProgramTest : public ::testing::Test {
protected:
    GameRun game;
};

TEST_F(GameProgramTest, TapOnTheTitleStartsTheGameThroughTheFade) {
    const std::string title = game.file("title.png"), play = game.file("play.png");
    GameRunResult r = game.run(kHeadless,
                               "50 screenshot " + title + "\n"
                               "60 tap 240 160\n"
                               "61 tap 300 100\n" // no second game
                               "200 screenshot " + play + "\n"
                               "201 quit\n");
    ASSERT_EQ(r.status, 0) << r.output;
    const TraceEvent* t = r.scene("SplashLayer");
    const TraceEvent* g = r.scene("HelloWorldScene");
    ASSERT_TRUE(t && g) << r.output;
    // The fade takes a second: the game scene is running about 60 frames after the tap.
    EXPECT_GE(g->frame(), 60 + 55);
    EXPECT_LE(g->frame(), 60 + 66);
    EXPECT_EQ(r.all("scene").size(), 3u); // title, fade, game

    Screen s = readScreen(title);
    ASSERT_EQ(s.width, 480u);
    ASSERT_EQ(s.height, 320u);
    // "Touch to Play" in black around (240, 120), "LITE VERSION" in green at (240, 160).
    EXPECT_GT(s.count(150, 100, 330, 140, isDark), 100);
    EXPECT_GT(s.count(170, 150, 310, 170, isGreen), 50);
    // The picture's sky on the left, below the banner strip; the grey HELP button near the
    // bottom-right corner.
    EXPECT_GT(s.count(0, 150, 100, 200, isSky), 2500);
    EXPECT_GT(s.count(390, 5, 470, 40, isGrey), 1000);
    Screen p = readScreen(play);
    ASSERT_FALSE(p.empty());
    // The score "0" in green at (400, 250); the blue back button at (40, 250); the cat at (175, 25).
    EXPECT_GT(p.count(390, 240, 410, 262, isGreen), 10);
    EXPECT_GT(p.count(20, 240, 60, 260, isBlue), 300);
    EXPECT_GT(p.count(150, 5, 200, 45, [](uint32_t c) { return !isDark(c); }), 200);
    // The picture and the HELP button are gone; stars on black instead.
    EXPECT_LT(p.count(0, 150, 100, 200, isSky), 50);
    EXPECT_LT(p.count(390, 5, 470, 40, isGrey), 100);
}

// Starts the game at frame 10; the game scene runs from about frame 72.
const std::string kStart = "10 tap 240 160\n";

TEST_F(GameProgramTest, WithoutTapsTheSeventhHitFeedsTheDogAndTryAgainBringsTheCatBack) {
    GameRunResult first = game.run(std::string(kHeadless) + " --frames 3000", kStart);
    ASSERT_EQ(first.status, 0) << first.output;
    const TraceEvent* caught = first.first("caught");
    ASSERT_NE(caught, nullptr) << "never caught";
    long hits = 0;
    for (const TraceEvent& e : first.all("saw-hit")) hits += e.frame() <= caught->frame();
    EXPECT_EQ(hits, 7);
    const TraceEvent* shown = first.first("alert-shown");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->at("title"), "OH NO!!");
    for (const TraceEvent& e : first.all("push-back-end"))
        if (e.frame() < caught->frame()) {
            EXPECT_GE(e.number("x"), 30);
        }

    // The same run, answering the alert and tapping once the cat is back.
    const long at = caught->frame() + 30;
    GameRunResult second = game.run(std::string(kHeadless) + " --frames " + std::to_string(at + 90),
                                    kStart + std::to_string(at) + " alert \"Try again\"\n" +
                                        std::to_string(at + 62) + " tap 240 160\n");
    ASSERT_EQ(second.status, 0) << second.output;
    const TraceEvent* restart = second.first("restart");
    ASSERT_NE(restart, nullptr) << second.output;
    const TraceEvent* jump = second.first("jump", at);
    ASSERT_NE(jump, nullptr);
    EXPECT_NEAR(jump->number("x"), 160, 0.01);
    const TraceEvent* score = second.first("score");
    ASSERT_NE(score, nullptr);
}

TEST_F(GameProgramTest, AutoplayJumpsScoresAndRunsTheExtremeJump) {
    GameRunResult r = game.run(std::string(kHeadless) + " --autoplay --seconds 90", {});
    ASSERT_EQ(r.status, 0) << r.output;
    auto jumps = r.all("jump");
    ASSERT_FALSE(jumps.empty());
    EXPECT_NEAR(jumps.front().number("duration"), 1.067, 1e-4);
    EXPECT_NEAR(jumps.front().number("height"), 110, 1e-4);
    // Saws that leave at the left give 20 each.
    auto scores = r.all("score");
    ASSERT_FALSE(scores.empty());
    long long last = 0;
    bool sawPassed = false, bonus = false;
    for (const TraceEvent& e : scores) {
        const long long now = std::llround(e.number("score"));
        if (e.at("reason") == "saw-passed") {
            EXPECT_EQ(now - last, 20);
            sawPassed = true;
        } else if (e.at("reason") == "bonus") {
            EXPECT_EQ(now - last, 50);
            bonus = true;
        } else if (e.at("reason") == "caught") {
            EXPECT_EQ(now, 0);
        }
        last = now;
    }
    EXPECT_TRUE(sawPassed);
    // A coin starts the countdown from 10; jumps meanwhile are higher and longer.
    const TraceEvent* extreme = r.first("extreme-jump-start");
    ASSERT_NE(extreme, nullptr) << "no coin taken";
    EXPECT_EQ(extreme->at("secondsLeft"), "10");
    long step = 9;
    for (const TraceEvent& e : r.all("countdown")) {
        if (e.frame() < extreme->frame() || step < 1) continue;
        EXPECT_EQ(e.number("secondsLeft"), step);
        EXPECT_NEAR(e.frame() - extreme->frame(), (10 - step) * 60, 1);
        --step;
    }
    const TraceEvent* end = r.first("extreme-jump-end", extreme->frame());
    ASSERT_NE(end, nullptr);
    EXPECT_NEAR(end->frame() - extreme->frame(), 600, 2);
    for (const TraceEvent& e : jumps)
        if (e.frame() > extreme->frame() && e.frame() < end->frame()) {
            EXPECT_NEAR(e.number("duration"), 1.6005, 1e-4);
        }
    EXPECT_TRUE(bonus) << "no bonus taken in 90 s";

    // The same game again, stopped just after the coin: the countdown shows over the right of
    // the screen, in green, and the banner in the middle.
    const long shotAt = extreme->frame() + 5;
    const std::string shot = game.file("extreme.png");
    GameRunResult again = game.run(std::string(kHeadless) + " --autoplay --frames " + std::to_string(shotAt) +
                                   " --screenshot " + std::to_string(shotAt) + ":" + shot);
    ASSERT_EQ(again.status, 0) << again.output;
    ASSERT_NE(again.first("extreme-jump-start"), nullptr);
    EXPECT_EQ(again.first("extreme-jump-start")->frame(), extreme->frame());
    Screen s = readScreen(shot);
    ASSERT_FALSE(s.empty());
    EXPECT_GT(s.count(250, 220, 450, 240, isGreen), 200);   // "Extreme Jump: 10"
    EXPECT_GT(s.count(100, 160, 380, 200, isBright), 500);  // "Extreme Jump" banner
}

TEST_F(GameProgramTest, SecondTapDuringAJumpDoesNothing) {
    GameRunResult r = game.run(std::string(kHeadless) + " --frames 240",
                               kStart + "100 tap 240 160\n110 tap 240 160\n150 tap 240 160\n170 tap 240 160\n");
    ASSERT_EQ(r.status, 0) << r.output;
    auto jumps = r.all("jump");
    ASSERT_EQ(jumps.size(), 2u); // at 100 and at 170 (the first lasts 64 frames)
    EXPECT_EQ(jumps[0].frame(), 100);
    EXPECT_EQ(jumps[1].frame(), 170);
}

TEST_F(GameProgramTest, BackButtonLeavesOnReleaseAndStaysWhenSlidOff) {
    GameRunResult r = game.run(std::string(kHeadless) + " --frames 400",
                               kStart +
                                   "100 down 1 40 250\n"
                                   "105 move 1 200 200\n"
                                   "110 up 1\n"
                                   "200 down 2 40 250\n"
                                   "205 up 2\n");
    ASSERT_EQ(r.status, 0) << r.output;
    auto presses = r.all("back-button");
    ASSERT_GE(presses.size(), 4u);
    EXPECT_EQ(presses[0].at("state"), "pressed");
    EXPECT_EQ(presses[1].at("state"), "released");
    EXPECT_EQ(presses[2].at("state"), "pressed");
    EXPECT_EQ(presses[3].at("state"), "left-game");
    // Sliding off kept the game; the release on the button brought a new title scene.
    auto scenes = r.all("scene");
    ASSERT_EQ(scenes.size(), 5u); // title, fade, game, fade, title
    EXPECT_EQ(scenes[4].at("scene"), "SplashLayer");
    EXPECT_GE(scenes[3].frame(), 205);
    // The press also made the cat jump.
    EXPECT_NE(r.first("jump", 100), nullptr);
}

TEST_F(GameProgramTest, HelpAlertAndUpgradeOpenTheStorePage) {
    GameRunResult r = game.run(std::string(kHeadless) + " --frames 120",
                               "20 button \"HELP\"\n30 alert \"Okay\"\n40 button \"HELP\"\n50 alert \"Upgrade App\"\n"
                               "60 button \"Buy AD-FREE Full Version!\"\n",
                               "ZORVIK_STORE_URL=https://store.example/zorvik-full");
    ASSERT_EQ(r.status, 0) << r.output;
    auto shown = r.all("alert-shown");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].at("title"), "Help");
    auto urls = r.all("url");
    ASSERT_EQ(urls.size(), 2u); // "Okay" opened nothing
    EXPECT_GT(urls[0].frame(), 49);
    EXPECT_EQ(urls[0].at("url"), "https://store.example/zorvik-full");
    EXPECT_EQ(urls[1].at("url"), "https://store.example/zorvik-full");
    EXPECT_EQ(r.all("scene").size(), 1u); // the HELP taps did not start the game
    EXPECT_EQ(r.scene("HelloWorldScene"), nullptr);
}

TEST_F(GameProgramTest, SameSeedAndScriptGiveTheSameRun) {
    auto once = [&](const std::string& shot) {
        return game.run(std::string(kHeadless) + " --frames 400 --screenshot 390:" + shot,
                        kStart + "150 tap 240 160\n260 tilt 0 -0.4 -0.9\n300 tap 240 160\n");
    };
    GameRunResult a = once(game.file("a.png")), b = once(game.file("b.png"));
    ASSERT_EQ(a.status, 0) << a.output;
    // The services run too: the house server's promotion list arrives at the same frame each time.
    ASSERT_NE(a.first("promotions"), nullptr);
    EXPECT_EQ(a.first("promotions")->at("entries"), "2");
    ASSERT_EQ(a.events.size(), b.events.size());
    for (size_t i = 0; i < a.events.size(); ++i) {
        if (a.events[i].name() == "screenshot") continue; // names differ
        EXPECT_EQ(a.events[i].line, b.events[i].line);
    }
    Screen sa = readScreen(game.file("a.png")), sb = readScreen(game.file("b.png"));
    ASSERT_FALSE(sa.empty());
    EXPECT_TRUE(sa.rgba == sb.rgba);
}

TEST_F(GameProgramTest, TerminationSignalEndsTheRunCleanlyAndOfflineFetchesNothing) {
    // A real-time run stopped by SIGTERM leaves through the usual end (the signal comes late enough
    // for a loaded machine to have started the run).
    GameRunResult r = game.run("--headless --real-time --seconds 60", "", "timeout --preserve-status -s TERM 8");
    EXPECT_EQ(r.status, 128 + SIGTERM) << r.output;
    ASSERT_NE(r.first("run-end"), nullptr);
    EXPECT_EQ(r.first("run-end")->at("reason"), "terminated");

    GameRunResult off = game.run(std::string(kHeadless) + " --offline --frames 90");
    EXPECT_EQ(off.status, 0) << off.output;
    EXPECT_EQ(off.first("promotions"), nullptr);
    EXPECT_NE(off.output.find("Promotions: no list to fetch (offline)"), std::string::npos) << off.output;
}

TEST_F(GameProgramTest, DrawsTheSameGameInAWindow) {
    std::string xvfb = findXvfb();
    if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
    const std::string script = kStart + "150 tap 240 160\n";
    GameRunResult headless = game.run("--headless --seed 3 --frames 200 --screenshot 190:" + game.file("h.png"), script);
    ASSERT_EQ(headless.status, 0) << headless.output;
    VirtualDisplay display;
    ASSERT_TRUE(display.start(xvfb));
    GameRunResult window = game.run("--deterministic --seed 3 --frames 200 --screenshot 190:" + game.file("w.png"), script);
    ASSERT_EQ(window.status, 0) << window.output;
    ASSERT_NE(window.first("run-start"), nullptr);
    EXPECT_EQ(window.first("run-start")->at("backend"), "window");
    ASSERT_NE(window.scene("HelloWorldScene"), nullptr);
    Screen h = readScreen(game.file("h.png")), w = readScreen(game.file("w.png"));
    ASSERT_FALSE(w.empty());
    ASSERT_EQ(w.rgba.size(), h.rgba.size());
    EXPECT_TRUE(w.rgba == h.rgba);
}

TEST_F(GameProgramTest, MissingResourcesEndTheLaunchWithAReason) {
    TempDir empty;
    GameRunResult r = game.run("--headless --frames 30", {}, "ZORVIK_RESOURCES='" + empty.path() + "'");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("the game cannot go on without Default2.png"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Sanitizer"), std::string::npos) << r.output;
}

TEST_F(GameProgramTest, RefusesBadOptionsAndExplainsThem) {
    GameRunResult r = game.run("--frames ten");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("--frames needs a positive whole number"), std::string::npos) << r.output;
    GameRunResult help = game.run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("--autoplay"), std::string::npos);
}

} // namespace
