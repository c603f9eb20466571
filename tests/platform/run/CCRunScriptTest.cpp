#include <gtest/gtest.h>

#include "CCRunOptions.h"
#include "CCRunScript.h"

namespace {

TEST(RunScript, ReadsEveryCommandInFrameOrder) {
    std::string error;
    auto script = CCRunScript::parse("# a comment line\n"
                                     "\n"
                                     "1 tap 240 160   # scene point\n"
                                     "2 tap view 10.5 20\n"
                                     "0.5s down 3 scene 100 100\n"
                                     "31 move 3 view 5 6\n"
                                     "32 up 3\n"
                                     "40 tilt -0.25 0.5 -0.9\n"
                                     "41 alert 1\n"
                                     "42 alert \"Upgrade App\"\n"
                                     "43 button \"Buy \\\"FULL\\\" #1\"\n"
                                     "44 screenshot shots/a.png\n"
                                     "45 quit\n",
                                     "s.txt", &error);
    ASSERT_TRUE(script) << error;
    const auto& a = script->actions();
    ASSERT_EQ(a.size(), 11u);
    EXPECT_EQ(a[0].kind, CCRunAction::Tap);
    EXPECT_FALSE(a[0].viewPoint);
    EXPECT_EQ(a[0].point, CGPointMake(240, 160));
    EXPECT_EQ(a[0].line, 3);
    EXPECT_TRUE(a[1].viewPoint);
    EXPECT_EQ(a[1].point, CGPointMake(10.5f, 20));
    EXPECT_EQ(a[2].kind, CCRunAction::Down);
    EXPECT_EQ(a[2].frame, 30u); // half a second at 60 frames a second
    EXPECT_EQ(a[2].finger, 3);
    EXPECT_TRUE(a[3].viewPoint);
    EXPECT_EQ(a[4].kind, CCRunAction::Up);
    EXPECT_FALSE(a[4].hasPoint);
    EXPECT_DOUBLE_EQ(a[5].x, -0.25);
    EXPECT_DOUBLE_EQ(a[5].z, -0.9);
    EXPECT_EQ(a[6].index, 1);
    EXPECT_EQ(a[7].text, "Upgrade App");
    EXPECT_EQ(a[8].text, "Buy \"FULL\" #1");
    EXPECT_EQ(a[9].text, "shots/a.png");
    EXPECT_EQ(a[10].kind, CCRunAction::Quit);
}

TEST(RunScript, ReportsTheFirstProblemWithItsLine) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"1 tap 1 2\n2 tapp 1 2\n", "s:2: unknown command \"tapp\""},
        {"x tap 1 2\n", "s:1: expected a frame number or a time such as 2.5s, found \"x\""},
        {"-3 tap 1 2\n", "s:1: expected a frame number or a time such as 2.5s, found \"-3\""},
        {"1 tap 1\n", "s:1: expected y"},
        {"1 tap 1 y\n", "s:1: expected a number for y, found \"y\""},
        {"1 tap 1 2 3\n", "s:1: unexpected \"3\" after the tap"},
        {"\n\n1 move 2 1 1\n", "s:3: finger 2 is not down"},
        {"1 down 2 1 1\n2 down 2 1 1\n", "s:2: finger 2 is already down"},
        {"1 down 2 1 1\n2 up 2\n3 up 2\n", "s:3: finger 2 is not down"},
        {"5 tap 1 2\n4 tap 1 2\n", "s:2: frame 4 comes before frame 5 of an earlier line"},
        {"1 button \"HELP\n", "s:1: unterminated quoted text"},
        {"1 button\n", "s:1: expected a button title"},
        {"0 screenshot a.png\n", "s:1: screenshots are taken after a frame: use frame 1 or later"},
        {"1 tilt 0 nan 1\n", "s:1: expected a number for y, found \"nan\""},
        {"7\n", "s:1: expected a command after the frame"},
        {"1 focus away\n", "s:1: expected in or out after focus"},
        {"1 clock 12\n", "s:1: expected the clock's seconds and microseconds (two whole numbers)"},
        {"1 clock 12 1000000\n", "s:1: expected the clock's seconds and microseconds (two whole numbers)"},
        {"1 clock 12 5 6\n", "s:1: unexpected \"6\" after the clock"},
        // Losing focus lifted finger 2, and only the focus can lift it.
        {"1 down 2 1 1\n2 focus out\n3 up 2\n", "s:3: finger 2 is not down"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(CCRunScript::parse(c.text, "s", &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    std::string error;
    EXPECT_FALSE(CCRunScript::load("/nonexistent/script.txt", &error));
    EXPECT_NE(error.find("cannot read the script \"/nonexistent/script.txt\""), std::string::npos) << error;
}

TEST(RunOptions, ReadsTheSwitchesAndRefusesBadValues) {
    const char* argv[] = {"--headless", "--seed", "42",        "--frames=90", "--screenshot", "30:a.png",
                          "--screenshot=60:b.png", "--trace", "t.jsonl", "--script", "s.txt", "--autopilot"};
    CCRunOptions o;
    std::string error;
    ASSERT_TRUE(CCRunOptions::parse(12, argv, o, &error)) << error;
    EXPECT_TRUE(o.headless);
    EXPECT_TRUE(o.isDeterministic()); // headless runs are deterministic unless told otherwise
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.frameLimit, 90u);
    ASSERT_EQ(o.screenshots.size(), 2u);
    EXPECT_EQ(o.screenshots[1], (std::pair<uint64_t, std::string>{60, "b.png"}));
    EXPECT_EQ(o.tracePath, "t.jsonl");
    EXPECT_EQ(o.scriptPath, "s.txt");
    EXPECT_TRUE(o.autopilot);

    const char* realTime[] = {"--headless", "--real-time"};
    CCRunOptions r;
    ASSERT_TRUE(CCRunOptions::parse(2, realTime, r, &error));
    EXPECT_FALSE(r.isDeterministic());

    const char* autoplay[] = {"--autoplay"};
    CCRunOptions a;
    ASSERT_TRUE(CCRunOptions::parse(1, autoplay, a, &error));
    EXPECT_TRUE(a.autopilot);

    for (std::vector<const char*> bad : {std::vector<const char*>{"--frames", "0"},
                                         {"--frames", "ten"},
                                         {"--seconds", "-1"},
                                         {"--seed", "99999999999"},
                                         {"--screenshot", "a.png"},
                                         {"--screenshot", "0:a.png"},
                                         {"--trace"},
                                         {"--fly"}}) {
        CCRunOptions b;
        error.clear();
        EXPECT_FALSE(CCRunOptions::parse(static_cast<int>(bad.size()), bad.data(), b, &error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
