// The play command and the program as a newcomer meets them: paths relative to where the
// command is given, the demo's defaults around the options given, seeds that repeat a run.
#include <filesystem>

#include "game/GameRun.h"

namespace {

namespace fs = std::filesystem;

// Runs scripts/play (building the debug preset's game, which the tests have already built)
// in `folder` without a display; returns its exit status, output in `output`.
int play(const std::string& folder, const std::string& options, std::string* output) {
    std::string command = "cd '" + folder + "' && env -u DISPLAY -u WAYLAND_DISPLAY ZORVIK_PRESET=debug LSAN_OPTIONS=suppressions='" +
                          std::string(ZORVIK_SOURCE_DIR) + "/tests/support/lsan.supp' '" + ZORVIK_SOURCE_DIR +
                          "/scripts/play' " + options + " 2>&1";
    output->clear();
    FILE* p = popen(command.c_str(), "r");
    if (!p) return -1;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) output->append(buffer, n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<TraceEvent> readTrace(const std::string& path) {
    std::vector<TraceEvent> events;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) events.push_back(parseTraceLine(line));
    return events;
}

int countScene(const std::vector<TraceEvent>& events, const std::string& scene) {
    int n = 0;
    for (const TraceEvent& e : events) n += e.name() == "scene" && e.at("scene") == scene;
    return n;
}

TEST(PlayCommand, PathsAreTheCallersAndTheDemoFillsInWhatTheOptionsLeaveOpen) {
    TempDir here;
    std::string output;

    // Only a limit: the demo plays itself for that long and keeps its record in zorvik-run/.
    ASSERT_EQ(play(here.path(), "--seconds 4", &output), 0) << output;
    const std::string demo = here.file("zorvik-run");
    for (const char* shot : {"frame-50.png", "frame-40.png", "frame-120.png", "frame-230.png"})
        EXPECT_TRUE(fs::exists(demo + "/" + shot)) << shot << "\n" << output;
    std::vector<TraceEvent> events = readTrace(demo + "/trace.jsonl");
    ASSERT_GE(events.size(), 2u) << output;
    EXPECT_EQ(events.back().at("frames"), "240");
    EXPECT_EQ(countScene(events, "HelloWorldScene"), 1) << "the autopilot starts the game";
    EXPECT_NE(output.find("zorvik: 240 frames in 4.0 s (headless): "), std::string::npos) << output;
    // The first picture is the title at rest, not the fade into the game.
    Screen title = readScreen(demo + "/frame-50.png");
    ASSERT_FALSE(title.empty());
    // The sky at the left, between the banner strip and the cat, in its full colour.
    EXPECT_GT(title.count(0, 160, 110, 230, [](uint32_t c) { return (c & 255) > 180; }), 2500);

    // A script, a trace and a screenshot, all relative: they are read and written here; a
    // script that plays the game leaves the autopilot out, and the demo's pictures too.
    fs::create_directories(here.file("mine"));
    here.write("mine/taps.script", "90 quit\n");
    ASSERT_EQ(play(here.path(), "--script mine/taps.script --trace mine/t.jsonl --screenshot 30:mine/a.png", &output), 0)
        << output;
    EXPECT_TRUE(fs::exists(here.file("mine/a.png"))) << output;
    events = readTrace(here.file("mine/t.jsonl"));
    ASSERT_FALSE(events.empty()) << output;
    EXPECT_EQ(events.back().at("reason"), "quit");
    EXPECT_EQ(events.back().at("frames"), "89");
    EXPECT_EQ(countScene(events, "HelloWorldScene"), 0) << "no autopilot when a script plays";
    EXPECT_FALSE(fs::exists(demo + "/frame-79.png")) << "the demo's pictures give way to the one asked for";
}

// A run without --seed records the seed it used, and that seed repeats the game; the record
// of the end counts the frames drawn.
TEST(PlayCommand, EveryRunRecordsItsSeedAndTheSeedRepeatsIt) {
    GameRun game;
    GameRunResult first = game.run("--headless --autoplay --frames 400");
    ASSERT_EQ(first.status, 0) << first.output;
    ASSERT_FALSE(first.events.empty());
    const TraceEvent& start = first.events.front();
    ASSERT_EQ(start.name(), "run-start");
    ASSERT_TRUE(start.has("seed")) << start.line;
    EXPECT_EQ(first.events.back().at("frame"), "400");
    EXPECT_EQ(first.events.back().at("frames"), "400");

    GameRunResult again = game.run("--headless --autoplay --frames 400 --seed " + start.at("seed"));
    ASSERT_EQ(again.status, 0) << again.output;
    auto spawns = [](const GameRunResult& r) {
        std::vector<std::string> out;
        for (const TraceEvent& e : r.all("spawn")) out.push_back(e.line);
        return out;
    };
    EXPECT_FALSE(spawns(first).empty());
    EXPECT_EQ(spawns(first), spawns(again));
}

} // namespace
