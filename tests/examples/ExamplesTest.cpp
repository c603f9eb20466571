// Every example program run the way a person runs it: headless, a fixed seed, a few seconds,
// screenshots. Each must end cleanly (a sanitizer report fails the run), draw where it puts
// things and keep moving between two pictures. With ZORVIK_GALLERY_DIR set, the second picture
// of each example is kept there (scripts/gallery makes the README's pictures this way).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "game/GameRun.h"
#include "support/ChildProgram.h"

namespace {

namespace fs = std::filesystem;

// A rectangle of scene points and the least number of its pixels that must differ from the
// example's background there.
struct Region {
    int x0, y0, x1, y1;
    int atLeast;
};

struct Example {
    const char* name;
    uint32_t background;       // the colour the example fills the screen with
    double seconds;            // how long it runs
    long before, frame;        // two screenshots; `frame` is the gallery's picture
    std::vector<Region> drawn; // in `frame`
    std::vector<Region> clear; // parts of `frame` where the example draws nothing
};

void PrintTo(const Example& e, std::ostream* os) { *os << e.name; }

bool near(uint32_t a, uint32_t b, int tolerance = 12) {
    for (int shift : {16, 8, 0})
        if (std::abs(int(a >> shift & 255) - int(b >> shift & 255)) > tolerance) return false;
    return true;
}

struct ExampleRun {
    int status = -1;
    std::string output;
    std::vector<TraceEvent> events;
    Screen before, frame;
    std::string framePath;
};

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Runs the example program with the screenshots and a trace; the example's script, if it has
// one (examples/<name>.script), gives its input.
ExampleRun runExample(const Example& e, const TempDir& dir, const std::string& tag = "") {
    const std::string stem = dir.file(std::string(e.name) + tag);
    const std::string script = std::string(ZORVIK_SOURCE_DIR) + "/examples/" + e.name + ".script";
    std::string command = "LSAN_OPTIONS=suppressions=" + quoted(std::string(ZORVIK_SOURCE_DIR) + "/tests/support/lsan.supp") +
                          " " + quoted(std::string(ZORVIK_BINARY_DIR) + "/examples/" + e.name) +
                          " --headless --seed 7 --seconds " + std::to_string(e.seconds) +
                          " --screenshot " + std::to_string(e.before) + ":" + quoted(stem + "-before.png") +
                          " --screenshot " + std::to_string(e.frame) + ":" + quoted(stem + ".png") +
                          " --trace " + quoted(stem + ".jsonl");
    if (fs::exists(script)) command += " --script " + quoted(script);
    command += " 2>&1";
    ExampleRun run;
    const ChildRun child = runChild(command);
    run.status = child.status;
    run.output = child.output;
    std::ifstream trace(stem + ".jsonl");
    for (std::string line; std::getline(trace, line);) run.events.push_back(parseTraceLine(line));
    run.before = readScreen(stem + "-before.png");
    run.frame = readScreen(stem + ".png");
    run.framePath = stem + ".png";
    return run;
}

int differing(const Screen& s, const Region& r, uint32_t colour) {
    return s.count(r.x0, r.y0, r.x1, r.y1, [&](uint32_t c) { return !near(c, colour); });
}

const std::vector<Example>& examples() {
    static const std::vector<Example> all = {
        // Balls below y 215, the row of cats above.
        {"sprites", 0x141828, 3, 120, 150, {{0, 0, 480, 210, 50000}, {10, 250, 470, 300, 12000}}, {}},
        // Easing rows on the left, the cat, star and speed balls on the right.
        {"actions", 0x202840, 3, 100, 135, {{70, 30, 250, 310, 900}, {260, 200, 470, 300, 450}, {260, 90, 470, 200, 400},
                                             {260, 0, 470, 60, 300}}, {}},
        // The four frames at the top, the big runner in the middle.
        {"animation", 0x466EA0, 3, 100, 130, {{10, 255, 470, 305, 2500}, {170, 115, 310, 205, 2500}, {0, 20, 480, 70, 400}},
                                             {{20, 180, 140, 230, 0}}},
        // The three text boxes, the two bitmap-font lines, the clock.
        {"labels", 0x282C34, 3, 100, 150, {{10, 227, 470, 297, 15000}, {100, 155, 380, 185, 2500}, {100, 115, 380, 145, 2000},
                                           {150, 40, 330, 72, 900}},
                                          {{0, 0, 80, 30, 0}, {400, 80, 480, 110, 0}}},
        // Every cell of the grid has particles above its caption.
        {"particles", 0x464C5C, 3, 130, 160, {{0, 230, 160, 320, 600}, {160, 230, 320, 320, 50}, {320, 230, 480, 320, 600},
                                              {0, 125, 160, 214, 40}, {160, 125, 320, 214, 250}, {320, 125, 480, 214, 1200},
                                              {0, 20, 160, 107, 700}, {160, 20, 320, 107, 2500}, {320, 20, 480, 107, 1800}}, {}},
        // The trails of the two waves and the loop; the dragged red ball near (200, 170).
        {"touches", 0x181C24, 3, 40, 80, {{40, 60, 440, 180, 10000}, {300, 215, 380, 285, 1500}, {175, 145, 225, 195, 1000}},
                                         {{0, 0, 480, 40, 0}}},
        // Scene 2 is up after the first fade.
        {"transitions", 0x28824F, 4, 40, 150, {{120, 190, 360, 250, 1200}, {190, 50, 290, 150, 2000}}, {{0, 0, 100, 40, 0}}},
        // The tickers, the update order, the timer rows, the star.
        {"scheduler", 0x1E222C, 3, 100, 150, {{150, 240, 480, 310, 1000}, {60, 190, 420, 220, 800}, {20, 70, 300, 175, 1400},
                                              {350, 30, 450, 140, 1100}}, {}},
    };
    return all;
}

class ExampleProgram : public ::testing::TestWithParam<Example> {
protected:
    TempDir dir;
};

TEST_P(ExampleProgram, RunsCleanlyDrawsAndMoves) {
    const Example& e = GetParam();
    const ExampleRun run = runExample(e, dir);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("runtime error"), std::string::npos) << run.output;
    ASSERT_EQ(run.frame.width, 480u) << run.output;
    ASSERT_EQ(run.frame.height, 320u);
    ASSERT_FALSE(run.before.empty());

    for (const Region& r : e.drawn)
        EXPECT_GE(differing(run.frame, r, e.background), r.atLeast)
            << e.name << ": too little drawn in (" << r.x0 << ", " << r.y0 << ") - (" << r.x1 << ", " << r.y1 << ")";
    for (const Region& r : e.clear)
        EXPECT_EQ(differing(run.frame, r, e.background), 0)
            << e.name << ": something drawn in (" << r.x0 << ", " << r.y0 << ") - (" << r.x1 << ", " << r.y1 << ")";
    int changed = 0;
    for (size_t i = 0; i < run.frame.rgba.size(); i += 4)
        changed += run.frame.rgba[i] != run.before.rgba[i] || run.frame.rgba[i + 1] != run.before.rgba[i + 1] ||
                   run.frame.rgba[i + 2] != run.before.rgba[i + 2];
    EXPECT_GT(changed, 200) << e.name << " did not move between frames " << e.before << " and " << e.frame;

    if (const char* gallery = std::getenv("ZORVIK_GALLERY_DIR"); gallery && *gallery) {
        fs::create_directories(gallery);
        fs::copy_file(run.framePath, fs::path(gallery) / (std::string(e.name) + ".png"), fs::copy_options::overwrite_existing);
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleProgram, ::testing::ValuesIn(examples()),
                         [](const ::testing::TestParamInfo<Example>& info) { return std::string(info.param.name); });

const Example& example(const std::string& name) {
    for (const Example& e : examples())
        if (e.name == name) return e;
    throw std::out_of_range(name);
}

TEST(ExamplePrograms, TheSameSeedGivesTheSamePictures) {
    TempDir dir;
    const ExampleRun first = runExample(example("particles"), dir, "-1");
    const ExampleRun second = runExample(example("particles"), dir, "-2");
    ASSERT_EQ(first.status, 0) << first.output;
    ASSERT_EQ(second.status, 0) << second.output;
    ASSERT_FALSE(first.frame.empty());
    EXPECT_TRUE(first.frame.rgba == second.frame.rgba);
}

TEST(ExamplePrograms, TouchesReachTheLayersAndScenesFadeIntoEachOther) {
    TempDir dir;
    // The script's four fingers all arrive and are dispatched.
    const ExampleRun touches = runExample(example("touches"), dir);
    ASSERT_EQ(touches.status, 0) << touches.output;
    int dispatched = 0;
    for (const TraceEvent& e : touches.events) dispatched += e.name() == "touch" && e.at("dispatched") == "true";
    EXPECT_GE(dispatched, 4 * 2 + 3 * 60 + 40);
    // The red ball left its place at (60, 260).
    auto red = [](uint32_t c) { return (c >> 16 & 255) > 150 && (c >> 8 & 255) < 90 && (c & 255) < 90; };
    EXPECT_LT(touches.frame.count(35, 235, 85, 285, red), 20);
    EXPECT_GT(touches.frame.count(175, 145, 225, 195, red), 300);

    // Two fades in four seconds: scene 1, fade, scene 2, fade, scene 3.
    const ExampleRun pages = runExample(example("transitions"), dir);
    ASSERT_EQ(pages.status, 0) << pages.output;
    std::vector<std::string> scenes;
    for (const TraceEvent& e : pages.events)
        if (e.name() == "scene") scenes.push_back(e.at("scene"));
    EXPECT_EQ(scenes, (std::vector<std::string>{"CCScene", "CCTransitionFade", "CCScene", "CCTransitionFade", "CCScene"}));
}

TEST(ExamplePrograms, AnExampleWithoutItsResourcesEndsWithAReason) {
    TempDir dir;
    const std::string command = "ZORVIK_RESOURCES=" + quoted(dir.path()) + " " +
                                quoted(std::string(ZORVIK_BINARY_DIR) + "/examples/sprites") + " --headless --frames 5 2>&1";
    std::string output;
    int status = -1;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) output.append(buffer, n);
        const int s = pclose(p);
        status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    }
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("resources missing"), std::string::npos) << output;
}

} // namespace
