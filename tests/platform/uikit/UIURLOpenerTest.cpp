#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "CCLog.h"
#include "UIURLOpener.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own on PATH with an xdg-open that writes its one argument to a file, and a
// display named; both put back afterwards.
class UIURLOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per test: ctest runs them side by side.
        dir = fs::path(ZORVIK_BINARY_DIR) / "url-opener-test" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        mark = dir / "argument";
        writeScript("xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$1\" \"$#\" > " + mark.string() + ".tmp && mv " +
                                    mark.string() + ".tmp " + mark.string() + "\n");
        save("PATH", oldPath);
        save("DISPLAY", oldDisplay);
        save("WAYLAND_DISPLAY", oldWayland);
        setenv("PATH", (dir.string() + ":" + oldPath.value).c_str(), 1);
        setenv("DISPLAY", ":99", 1);
        unsetenv("WAYLAND_DISPLAY");
        oldSink = ccSetLogSink([this](const std::string& l) { lines.push_back(l); });
    }
    void TearDown() override {
        ccSetLogSink(oldSink);
        restore("PATH", oldPath);
        restore("DISPLAY", oldDisplay);
        restore("WAYLAND_DISPLAY", oldWayland);
    }
    struct Saved {
        bool set = false;
        std::string value;
    };
    static void save(const char* name, Saved& s) {
        const char* v = std::getenv(name);
        s.set = v != nullptr;
        s.value = v ? v : "";
    }
    static void restore(const char* name, const Saved& s) {
        if (s.set) setenv(name, s.value.c_str(), 1);
        else unsetenv(name);
    }
    void writeScript(const std::string& name, const std::string& text, bool executable = true) {
        std::ofstream(dir / name) << text;
        fs::permissions(dir / name, executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
    }
    // What the opener was given, once it has run (it is started detached).
    std::string argumentSeen(std::chrono::milliseconds wait) {
        auto until = std::chrono::steady_clock::now() + wait;
        while (std::chrono::steady_clock::now() < until) {
            if (fs::exists(mark)) {
                std::ifstream in(mark);
                return std::string(std::istreambuf_iterator<char>(in), {});
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {};
    }

    fs::path dir, mark;
    Saved oldPath, oldDisplay, oldWayland;
    std::vector<std::string> lines;
    CCLogSink oldSink;
    UIURLOpener opener;
};

TEST_F(UIURLOpenerTest, AddressesTheOpenerWouldMisreadAreRefusedAndNotRecorded) {
    for (const char* url : {"", "-h", "--help", "https://a.invalid/\nsecond"}) {
        EXPECT_FALSE(UIURLOpener::isOpenable(url)) << url;
        EXPECT_FALSE(opener.open(url, true)) << url;
    }
    EXPECT_TRUE(opener.opened().empty());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[1].find("Refusing"), std::string::npos);
    EXPECT_TRUE(argumentSeen(std::chrono::milliseconds(200)).empty());
}

TEST_F(UIURLOpenerTest, TheAddressReachesTheOpenerAsItsOneArgument) {
    const std::string url = "https://example.invalid/a b;$(touch x)&c=1";
    EXPECT_TRUE(opener.open(url, true));
    EXPECT_EQ(argumentSeen(std::chrono::seconds(10)), url + "|1");
    EXPECT_EQ(opener.opened(), std::vector<std::string>{url});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(url), std::string::npos);
}

TEST_F(UIURLOpenerTest, NothingStartsWhenProgramsMayNotStartOrNoDisplayIsThere) {
    EXPECT_TRUE(opener.open("https://example.invalid/one", false));
    unsetenv("DISPLAY");
    EXPECT_TRUE(opener.open("https://example.invalid/two", true));
    EXPECT_TRUE(argumentSeen(std::chrono::milliseconds(300)).empty());
    EXPECT_EQ(opener.opened().size(), 2u); // recorded all the same
}

TEST_F(UIURLOpenerTest, FindProgramTakesTheFirstExecutableOnPath) {
    fs::create_directories(dir / "second");
    writeScript("tool", "#!/bin/sh\n", false); // not executable: passed over
    std::ofstream(dir / "second" / "tool") << "#!/bin/sh\n";
    fs::permissions(dir / "second" / "tool", fs::perms::owner_all);
    setenv("PATH", ("::" + dir.string() + ":" + (dir / "second").string()).c_str(), 1);
    EXPECT_EQ(UIURLOpener::findProgram("tool"), (dir / "second" / "tool").string());
    EXPECT_EQ(UIURLOpener::findProgram("no-such-program-here"), "");
}

} // namespace
