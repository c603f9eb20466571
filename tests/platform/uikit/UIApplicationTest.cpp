#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "CCLog.h"
#include "CCTrace.h"
#include "UIApplicationDelegate.h"
#include "support/UIKitFixture.h"

namespace {

struct Lifecycle : UIApplicationDelegate {
    std::vector<std::string> calls;
    void applicationWillResignActive(UIApplication*) override { calls.push_back("resign"); }
    void applicationDidBecomeActive(UIApplication*) override { calls.push_back("active"); }
    void applicationWillTerminate(UIApplication*) override { calls.push_back("terminate"); }
};

using UIApplicationTest = UIKitFixture;

TEST_F(UIApplicationTest, OpenURLIsRecordedLoggedAndTracedButNotStartedHeadless) {
    std::vector<std::string> lines, traced;
    auto old = ccSetLogSink([&](const std::string& l) { lines.push_back(l); });
    app->setTraceHook([&](const std::string& e, const std::string& d, int) { traced.push_back(e + " " + d); });
    // A PATH whose xdg-open would leave a mark if it ran.
    std::string dir = std::string(ZORVIK_BINARY_DIR) + "/uikit-open-test";
    std::string mark = dir + "/opened";
    ASSERT_EQ(std::system(("mkdir -p " + dir + " && rm -f " + mark + " && printf '#!/bin/sh\\ntouch " + mark +
                           "\\n' > " + dir + "/xdg-open && chmod +x " + dir + "/xdg-open")
                              .c_str()),
              0);
    std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (dir + ":" + oldPath).c_str(), 1);
    setenv("DISPLAY", ":99", 1);

    EXPECT_TRUE(app->openURL("https://example.invalid/full"));
    EXPECT_FALSE(app->openURL(""));
    EXPECT_FALSE(app->openURL("--help"));
    setenv("PATH", oldPath.c_str(), 1);
    ccSetLogSink(old);

    EXPECT_EQ(app->openedURLs(), std::vector<std::string>{"https://example.invalid/full"});
    EXPECT_EQ(traced, std::vector<std::string>{"url https://example.invalid/full"});
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find("https://example.invalid/full"), std::string::npos);
    EXPECT_NE(access(mark.c_str(), F_OK), 0);
}

TEST_F(UIApplicationTest, LifecycleMessagesGoOutOnlyOnChange) {
    Lifecycle delegate;
    app->setDelegate(&delegate);
    app->sendDidBecomeActive(); // already active
    app->sendWillResignActive();
    app->sendWillResignActive();
    app->sendDidBecomeActive();
    app->sendWillTerminate();
    app->sendWillTerminate();
    app->sendWillResignActive(); // after termination nothing more
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"resign", "active", "terminate"}));
}

TEST_F(UIApplicationTest, StatusBarOrientationKeepsOnlyKnownValues) {
    app->setStatusBarOrientation(3, false);
    app->setStatusBarOrientation(9, true);
    EXPECT_EQ(app->statusBarOrientation(), 3);
}

// The application's own events (addresses opened, alerts) in the run's trace.
TEST(Trace, ApplicationEventsReachTheTrace) {
    std::vector<std::string> lines;
    CCTrace::openSink([&](const std::string& l) { lines.push_back(l); });
    CCTrace::setFrame(1);
    CCTrace::setTime(0);
    UIApplication* app = UIApplication::sharedApplication();
    app->setHeadless(true);
    app->openURL("http://example.invalid/store");
    app->trace("alert-dismissed", "Help", 1);
    CCTrace::close();
    UIApplication::purgeSharedApplication();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "{\"frame\":1,\"time\":0,\"event\":\"url\",\"url\":\"http://example.invalid/store\"}");
    EXPECT_EQ(lines[1], "{\"frame\":1,\"time\":0,\"event\":\"alert-dismissed\",\"title\":\"Help\",\"button\":1}");
}

} // namespace
