// The recorder's script: fingers renumbered as the script numbers them, every reading, focus
// and clock reads, and a file the script parser reads back to the same input.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CCRunRecorder.h"
#include "CCRunScript.h"
#include "support/TestFiles.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(CCRunRecorderTest, WritesFingersReadingsFocusAndClockAsAScriptThatParsesBack) {
    TempDir dir;
    const std::string path = dir.file("run.script");
    CCRunRecorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.open(path, &error)) << error;
    recorder.begin(42, true, "headless");
    recorder.reading(2, UIAccelerometerReading{0, 0, -1});
    // Two fingers from the window (large ids), one lifting before the other comes back.
    recorder.touch(3, 2000001, UITouchPhaseBegan, CGPoint{10.5f, 20.25f});
    recorder.touch(3, 7, UITouchPhaseBegan, CGPoint{1, 2});
    recorder.reading(4, UIAccelerometerReading{0, 0, -1}); // unchanged: still handed over
    recorder.touch(4, 2000001, UITouchPhaseMoved, CGPoint{11, 21});
    recorder.touch(5, 2000001, UITouchPhaseEnded, CGPoint{12, 22});
    recorder.touch(6, 9, UITouchPhaseBegan, CGPoint{3, 4});     // takes the free number 0
    recorder.touch(6, 7, UITouchPhaseBegan, CGPoint{5, 5});     // already down: not input
    recorder.touch(7, 123, UITouchPhaseEnded, CGPoint{0, 0});   // never down: not input
    recorder.touch(8, 7, UITouchPhaseCancelled, CGPoint{1, 2}); // lifted
    recorder.reading(9, UIAccelerometerReading{0.1, -0.7, -0.3});
    recorder.touch(10, 5, UITouchPhaseBegan, CGPoint{6, 6});
    recorder.focus(11, false);                                  // cancels finger 5
    recorder.touch(12, 5, UITouchPhaseEnded, CGPoint{6, 6});    // no longer down: not input
    recorder.focus(13, true);
    recorder.clock(14, CCTimeValue{1765250000, 999999});
    recorder.finish(20);
    EXPECT_TRUE(recorder.failure().empty());
    EXPECT_FALSE(recorder.isOpen());

    const std::string text = readFile(path);
    EXPECT_NE(text.find("--seed 42"), std::string::npos) << text;
    std::string body;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line[0] != '#') body += line + "\n";
    EXPECT_EQ(body, "2 reading 0 0 -1\n"
                    "3 down 0 view 10.5 20.25\n"
                    "3 down 1 view 1 2\n"
                    "4 reading 0 0 -1\n"
                    "4 move 0 view 11 21\n"
                    "5 up 0 view 12 22\n"
                    "6 down 0 view 3 4\n"
                    "8 up 1 view 1 2\n"
                    "9 reading 0.10000000000000001 -0.69999999999999996 -0.29999999999999999\n"
                    "10 down 1 view 6 6\n"
                    "11 focus out\n"
                    "13 focus in\n"
                    "14 clock 1765250000 999999\n"
                    "21 quit\n");

    // The parser reads the numbers back exactly.
    std::optional<CCRunScript> script = CCRunScript::load(path, &error);
    ASSERT_TRUE(script) << error;
    const auto& actions = script->actions();
    ASSERT_EQ(actions.size(), 14u);
    EXPECT_EQ(actions.front().kind, CCRunAction::Reading);
    EXPECT_EQ(actions.front().frame, 2u);
    EXPECT_EQ(actions[1].kind, CCRunAction::Down);
    EXPECT_TRUE(actions[1].viewPoint);
    EXPECT_EQ(actions[1].point.x, 10.5f);
    EXPECT_EQ(actions[1].point.y, 20.25f);
    const CCRunAction& tilt = actions[8];
    EXPECT_EQ(tilt.kind, CCRunAction::Reading);
    EXPECT_EQ(tilt.y, -0.7);
    EXPECT_EQ(actions[10].kind, CCRunAction::Focus);
    EXPECT_FALSE(actions[10].focused);
    EXPECT_TRUE(actions[11].focused);
    const CCRunAction& clock = actions[12];
    EXPECT_EQ(clock.kind, CCRunAction::Clock);
    EXPECT_EQ(clock.time.tv_sec, 1765250000);
    EXPECT_EQ(clock.time.tv_usec, 999999);
    EXPECT_EQ(actions.back().kind, CCRunAction::Quit);
    EXPECT_EQ(actions.back().frame, 21u);
}

TEST(CCRunRecorderTest, AFileThatCannotBeMadeOrFillsUpIsNamed) {
    CCRunRecorder recorder;
    std::string error;
    EXPECT_FALSE(recorder.open("/nonexistent-folder/run.script", &error));
    EXPECT_NE(error.find("cannot write the recording \"/nonexistent-folder/run.script\""), std::string::npos) << error;
    EXPECT_FALSE(recorder.isOpen());

    ASSERT_TRUE(recorder.open("/dev/full", &error)) << error;
    recorder.begin(1, true, "headless");
    recorder.touch(1, 1, UITouchPhaseBegan, CGPoint{1, 1}); // after the failure: nothing, no crash
    recorder.finish(1);
    EXPECT_NE(recorder.failure().find("cannot write the recording \"/dev/full\""), std::string::npos)
        << recorder.failure();
}

} // namespace
