// The real program's pictures against reference screens kept in tests/game/screens/: the title,
// the fade into the game, the cat in the air, saws and coins on the move, the particles and the
// ad strip, for a fixed seed and script. Any change to how frames are drawn, kept or read back
// that moves a single pixel shows here.
#include <string>
#include <vector>

#include "game/GameRun.h"

namespace {

// Reachability forced, so that the house ad strip shows whatever the machine's network.
const std::string kEnv = "ZORVIK_REACHABILITY=wifi ";
const std::string kOptions = "--headless --seed 5 --frames 420";
// Starts the game at frame 10, jumps now and then, tilts once.
const std::string kScript = "10 tap 240 160\n"
                            "120 tap 240 160\n"
                            "200 tap 240 160\n"
                            "260 tilt 0 -0.4 -0.9\n"
                            "300 tap 240 160\n"
                            "380 tap 240 160\n";
// The frames kept, by reference file name.
const std::vector<std::pair<int, std::string>> kShots = {
    {8, "title-8.png"},   {40, "fade-40.png"},  {135, "jump-135.png"},
    {230, "play-230.png"}, {320, "play-320.png"}, {415, "play-415.png"},
};

std::string reference(const std::string& name) { return std::string(ZORVIK_SOURCE_DIR) + "/tests/game/screens/" + name; }

class GameScreensTest : public ::testing::Test {
protected:
    GameRun game;
};

TEST_F(GameScreensTest, SameSeedAndScriptDrawTheReferenceScreens) {
    std::string options = kOptions;
    for (const auto& [frame, name] : kShots) options += " --screenshot " + std::to_string(frame) + ":" + game.file(name);
    GameRunResult r = game.run(options, kScript, kEnv);
    ASSERT_EQ(r.status, 0) << r.output;
    ASSERT_NE(r.scene("HelloWorldScene"), nullptr);
    ASSERT_NE(r.first("banner-in"), nullptr) << "no ad strip";
    EXPECT_FALSE(r.all("jump").empty());
    for (const auto& [frame, name] : kShots) {
        SCOPED_TRACE(name);
        Screen want = readScreen(reference(name)), got = readScreen(game.file(name));
        ASSERT_FALSE(want.empty()) << "no reference " << reference(name);
        ASSERT_FALSE(got.empty());
        ASSERT_EQ(got.width, want.width);
        ASSERT_EQ(got.height, want.height);
        // The first differing pixel, to say where a change shows.
        size_t differ = 0;
        while (differ < got.rgba.size() && got.rgba[differ] == want.rgba[differ]) ++differ;
        EXPECT_EQ(differ, got.rgba.size()) << "first different pixel at x " << differ / 4 % got.width << ", row "
                                           << differ / 4 / got.width;
    }
}

} // namespace
