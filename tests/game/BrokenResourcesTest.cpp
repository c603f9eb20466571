// The real program on a copy of Resources/ with one file deleted, emptied, cut in half or
// filled with random bytes: a file the game needs ends the run with exit 1 and a line naming
// it (never a crash, a hang or a title that stays); an item picture is left out, said once.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildProgram.h"
#include "support/TestFiles.h"

namespace {

enum class Damage { Deleted, Emptied, Halved, Random };
enum class Need { Title, Game, Item, Store };

struct BrokenCase {
    const char* file;
    Damage damage;
    Need need;
};

std::string damageName(Damage d) {
    switch (d) {
    case Damage::Deleted: return "Deleted";
    case Damage::Emptied: return "Emptied";
    case Damage::Halved: return "Halved";
    case Damage::Random: return "Random";
    }
    return "";
}

struct GameOutput {
    int status = -1;
    std::string output;
};

// Without the sanitizer options the other end-to-end tests pass: the program suppresses the
// font libraries' caches itself.
GameOutput runGame(const std::string& resources, const std::string& options, const std::string& script,
            const TempDir& dir) {
    const std::string scriptPath = dir.write("script.txt", script);
    const std::string command = "env -u LSAN_OPTIONS -u ASAN_OPTIONS ZORVIK_OFFLINE=1 ZORVIK_RESOURCES='" + resources +
                                "' timeout 120 '" + std::string(ZORVIK_BINARY_DIR) + "/Classes/zorvik' --headless " +
                                options + " --script '" + scriptPath + "' --trace '" + dir.file("trace.jsonl") +
                                "' 2>&1";
    GameOutput run;
    const ChildRun child = runChild(command);
    run.status = child.status;
    run.output = child.output;
    return run;
}

std::vector<std::string> linesNaming(const std::string& output, const std::string& name) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (line.find(name) != std::string::npos) lines.push_back(line);
    return lines;
}

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.file << " " << damageName(c.damage); }

class BrokenResource : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenResource, IsNamedOnceAndNeverCrashes) {
    const BrokenCase c = GetParam();
    TempDir dir;
    const std::string resources = dir.file("Resources");
    std::filesystem::copy(std::string(ZORVIK_SOURCE_DIR) + "/Resources", resources,
                          std::filesystem::copy_options::recursive);
    const std::string target = resources + "/" + c.file;
    const auto size = std::filesystem::file_size(target);
    switch (c.damage) {
    case Damage::Deleted: std::filesystem::remove(target); break;
    case Damage::Emptied: std::filesystem::resize_file(target, 0); break;
    case Damage::Halved: std::filesystem::resize_file(target, size / 2); break;
    case Damage::Random: {
        std::mt19937 random(7);
        std::vector<std::uint8_t> bytes(size);
        for (auto& b : bytes) b = std::uint8_t(random());
        std::ofstream(target, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
        break;
    }
    }

    // The title, a tap that starts the game, a few seconds of play; HELP and "Upgrade App".
    const bool store = c.need == Need::Store;
    const std::string script = store ? "20 button \"HELP\"\n40 alert \"Upgrade App\"\n"
                                     : "20 tap 240 160\n";
    const GameOutput run = runGame(resources, c.need == Need::Item ? "--seed 5 --autopilot --frames 1500" : "--seed 5 --frames 120",
                            script, dir);
    SCOPED_TRACE(run.output);
    EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos);
    EXPECT_EQ(run.output.find("Assertion"), std::string::npos);

    const std::string fatal = "the game cannot go on without ";
    std::vector<std::string> named = linesNaming(run.output, c.file);
    if (c.need == Need::Title || c.need == Need::Game) {
        EXPECT_EQ(run.status, 1);
        // The loader says why, once; the game says what it cannot do without, once.
        const std::string needed = std::string(c.file) == "greenFont.png" ? "greenFont.fnt" : c.file;
        EXPECT_EQ(linesNaming(run.output, fatal + needed).size(), 1u);
        std::erase_if(named, [&](const std::string& line) { return line.find(fatal) != std::string::npos; });
        EXPECT_EQ(named.size(), 1u);
        // A picture the title needs ends the launch before the game starts.
        std::ifstream trace(dir.file("trace.jsonl"));
        const std::string events((std::istreambuf_iterator<char>(trace)), std::istreambuf_iterator<char>());
        EXPECT_NE(events.find("\"event\":\"resource-failed\""), std::string::npos);
        if (c.need == Need::Title) {
            EXPECT_EQ(events.find("\"scene\":\"HelloWorldScene\""), std::string::npos);
        }
    } else {
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(linesNaming(run.output, fatal).empty());
        EXPECT_GE(named.size(), 1u);
        EXPECT_LE(named.size(), 2u); // the loader's reason and what the game does without it
    }
}

std::vector<BrokenCase> allCases() {
    std::vector<BrokenCase> cases;
    for (Damage d : {Damage::Deleted, Damage::Emptied, Damage::Halved, Damage::Random}) {
        for (const char* f : {"Default2.png", "greenFont.fnt", "greenFont.png"}) cases.push_back({f, d, Need::Title});
        for (const char* f : {"back2.png", "cat_2.png", "test_image.pvr"}) cases.push_back({f, d, Need::Game});
    }
    for (Damage d : {Damage::Halved, Damage::Random}) {
        for (const char* f : {"back1.png", "cat_3.png"}) cases.push_back({f, d, Need::Game});
        for (const char* f : {"sparkleSpin.png", "hammer.png"}) cases.push_back({f, d, Need::Item});
        cases.push_back({"Configuration.plist", d, Need::Store});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EachFile, BrokenResource, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<BrokenCase>& info) {
                             std::string name = info.param.file;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name + "_" + damageName(info.param.damage);
                         });

} // namespace
