// The real program with its ad banner: the house banner at the top of the landscape screen,
// failing ad servers, a stalling one, and repeatable runs with the services on.
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "game/GameRun.h"
#include "support/TestHTTPServer.h"

namespace {

// Reachability forced, so the machine's own network plays no part.
const std::string kEnv = "ZORVIK_REACHABILITY=wifi ";
// Starts the game at frame 10; it runs from about frame 72.
const std::string kStart = "10 tap 240 160\n";

// The house MobFox banner's orange.
bool isOrange(uint32_t c) {
    int r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
    return r > 200 && g > 90 && g < 200 && b < 90;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> modes(const GameRunResult& r) {
    std::vector<std::string> out;
    for (const TraceEvent& e : r.all("banner-mode")) out.push_back(e.at("mode"));
    return out;
}

class AdBannerProgramTest : public ::testing::Test {
protected:
    GameRun game;
};

TEST_F(AdBannerProgramTest, TheHouseBannerShowsAtTheTopOverTheGame) {
    const std::string shot = game.file("banner.png");
    GameRunResult r = game.run("--headless --seed 5", kStart + "200 screenshot " + shot + "\n201 quit\n", kEnv);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(modes(r), std::vector<std::string>{"3"});
    const TraceEvent* in = r.first("banner-in");
    ASSERT_NE(in, nullptr) << r.output;
    EXPECT_EQ(in->at("network"), "mobfox");
    EXPECT_NE(r.first("ad-loaded"), nullptr);
    EXPECT_EQ(r.first("ad-failed"), nullptr);
    EXPECT_NE(r.first("promotions"), nullptr);
    ASSERT_NE(r.scene("HelloWorldScene"), nullptr);

    // The strip runs along the top, left of the purchase button: 320 × 50 scene points.
    Screen s = readScreen(shot);
    ASSERT_EQ(s.width, 480u);
    EXPECT_GT(s.count(2, 272, 318, 318, isOrange), 320 * 46 / 2);
    EXPECT_LT(s.count(2, 200, 318, 265, isOrange), 50); // nothing below the banner
}

TEST_F(AdBannerProgramTest, AdServersThatRefuseGiveNoBannerAndTheGamePlaysOn) {
    const std::string closed = "http://127.0.0.1:" + std::to_string(ccClosedLocalPort()) + "/ad";
    GameRunResult r = game.run("--headless --seed 5 --frames 600", kStart,
                               kEnv + "ZORVIK_MOBFOX_AD_URL=" + closed + " ZORVIK_ADMOB_AD_URL=" + closed);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(modes(r), (std::vector<std::string>{"3", "1", "99"}));
    EXPECT_EQ(r.first("banner-in"), nullptr);
    EXPECT_EQ(r.all("ad-failed").size(), 2u);
    EXPECT_NE(r.output.find("MobFox: Did fail to receive ad, Error Domain="), std::string::npos);
    EXPECT_NE(r.output.find("AdMob: Did fail to receive ad"), std::string::npos);
    ASSERT_NE(r.scene("HelloWorldScene"), nullptr);
    EXPECT_FALSE(r.all("spawn").empty());
    const TraceEvent* end = r.first("run-end");
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end->at("frames"), "600");
}

TEST_F(AdBannerProgramTest, AStallingAdServerNeverHoldsUpAFrame) {
    TestHTTPServer stalling;
    std::atomic<bool> done{false};
    stalling.server().Get("/ad", [&](const httplib::Request&, httplib::Response& res) {
        for (int i = 0; i < 1000 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        res.status = 500;
    });
    ASSERT_GT(stalling.start(), 0);
    // A tilt reading every ten frames for three seconds: each is traced with the frame's time.
    std::string script;
    for (int f = 10; f <= 180; f += 10) script += std::to_string(f) + " tilt 0 0 -1\n";
    script += "181 quit\n";
    const auto started = std::chrono::steady_clock::now();
    GameRunResult r = game.run("--headless --real-time --seed 5", script,
                               kEnv + "ZORVIK_MOBFOX_AD_URL=" + stalling.url("/ad"));
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    done = true;
    ASSERT_EQ(r.status, 0) << r.output;
    std::vector<TraceEvent> tilts = r.all("input");
    ASSERT_EQ(tilts.size(), 18u);
    // The request stays unanswered for the whole run, yet ten frames never take more than a
    // fraction of the stall (a slow sanitizer build draws at some 30 frames a second).
    const TraceEvent* asked = r.first("ad-request");
    ASSERT_NE(asked, nullptr);
    EXPECT_LT(asked->number("time"), tilts.front().number("time"));
    EXPECT_EQ(r.first("ad-failed"), nullptr);
    EXPECT_EQ(r.first("ad-loaded"), nullptr);
    for (size_t i = 1; i < tilts.size(); ++i) {
        const double gap = tilts[i].number("time") - tilts[i - 1].number("time");
        EXPECT_GE(gap, 10 / 60.0 - 0.02);
        EXPECT_LT(gap, 1.0) << "between " << tilts[i - 1].line << " and " << tilts[i].line;
    }
    // The run ends when asked: the unanswered request is abandoned, not waited for.
    const TraceEvent* end = r.first("run-end");
    ASSERT_NE(end, nullptr);
    EXPECT_LT(wall - end->number("time"), 5.0);
}

TEST_F(AdBannerProgramTest, TheSameSeedAndScriptGiveTheSameTraceAndPicturesWithTheServicesOn) {
    const std::string script = kStart + "40 screenshot " + game.file("a.png") + "\n250 screenshot " +
                               game.file("b.png") + "\n251 quit\n";
    GameRunResult first = game.run("--headless --seed 11 --autopilot", script, kEnv);
    ASSERT_EQ(first.status, 0) << first.output;
    std::vector<std::uint8_t> a1 = readBytes(game.file("a.png")), b1 = readBytes(game.file("b.png"));
    GameRunResult second = game.run("--headless --seed 11 --autopilot", script, kEnv);
    ASSERT_EQ(second.status, 0) << second.output;
    ASSERT_EQ(first.events.size(), second.events.size());
    for (size_t i = 0; i < first.events.size(); ++i) EXPECT_EQ(first.events[i].line, second.events[i].line);
    EXPECT_NE(first.first("banner-in"), nullptr);
    EXPECT_FALSE(a1.empty());
    EXPECT_TRUE(a1 == readBytes(game.file("a.png")));
    EXPECT_TRUE(b1 == readBytes(game.file("b.png")));
}

} // namespace
