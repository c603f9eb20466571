#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "CCLog.h"
#include "CCScreenshot.h"
#include "CCTrace.h"
#include "UIApplication.h"

namespace {

TEST(Trace, WritesOneEscapedJSONObjectPerEventOnlyWhileOpen) {
    std::vector<std::string> lines;
    CCTrace::event("before"); // nothing open: dropped
    CCTrace::openSink([&](const std::string& l) { lines.push_back(l); });
    CCTrace::setFrame(12);
    CCTrace::setTime(0.2);
    CCTrace::event("alert-shown", {{"title", "Say \"hi\"\n\\"}, {"n", 3}, {"ok", true}, {"at", CGPointMake(1.5f, -2)}});
    CCTrace::event("odd", {{"v", 1.0 / 0.0}, {"c", std::string("\x01")}});
    CCTrace::close();
    CCTrace::event("after");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "{\"frame\":12,\"time\":0.2,\"event\":\"alert-shown\",\"title\":\"Say \\\"hi\\\"\\n\\\\\","
                        "\"n\":3,\"ok\":true,\"at\":[1.5,-2]}");
    EXPECT_EQ(lines[1], "{\"frame\":12,\"time\":0.2,\"event\":\"odd\",\"v\":null,\"c\":\"\\u0001\"}");

    std::string error;
    EXPECT_FALSE(CCTrace::open("/nonexistent/dir/trace.jsonl", &error));
    EXPECT_NE(error.find("cannot write the trace"), std::string::npos);
}

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

TEST(Trace, AFullDiskIsReportedOnceStopsTheFileAndStillReachesTheListener) {
    std::vector<std::string> logged, heard;
    CCLogSink previous = ccSetLogSink([&](const std::string& l) { logged.push_back(l); });
    CCTrace::setListener([&](std::string_view name, const CCTraceFields&) { heard.emplace_back(name); });
    std::string error;
    ASSERT_TRUE(CCTrace::open("/dev/full", &error)) << error;
    EXPECT_EQ(CCTrace::failure(), "");
    CCTrace::event("first");
    CCTrace::event("second");
    EXPECT_FALSE(CCTrace::isOpen());
    EXPECT_FALSE(CCTrace::close());
    EXPECT_EQ(CCTrace::failure(), "cannot write the trace \"/dev/full\": No space left on device");
    EXPECT_EQ(logged, std::vector<std::string>{CCTrace::failure()});
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "second"}));
    CCTrace::setListener(nullptr);
    ccSetLogSink(previous);

    // A new trace starts whole.
    CCTrace::openSink([](const std::string&) {});
    EXPECT_TRUE(CCTrace::close());
}

TEST(Screenshot, AFullDiskIsAnErrorAndTheDeviceStays) {
    CCPixelImage one;
    one.width = one.height = 1;
    one.rgba = {1, 2, 3, 255};
    std::string error;
    EXPECT_FALSE(CCScreenshot::writePNG(one, "/dev/full", &error));
    EXPECT_EQ(error, "cannot write the screenshot \"/dev/full\": No space left on device");
    struct stat st {};
    EXPECT_EQ(stat("/dev/full", &st), 0);
}

// A 2 × 3 portrait picture whose pixels are numbered 0..5 (row by row) in the red channel.
CCPixelImage numbered() {
    CCPixelImage p;
    p.width = 2;
    p.height = 3;
    for (int i = 0; i < 6; ++i) p.rgba.insert(p.rgba.end(), {uint8_t(i), 0, 0, 255});
    return p;
}

TEST(Screenshot, TurnsThePortraitScreenUprightForEachOrientation) {
    auto red = [](const CCPixelImage& img, int x, int y) { return int(img.pixel(x, y) >> 24); };
    CCPixelImage p = numbered();
    // Landscape right: the portrait top edge runs up the left side.
    CCPixelImage r = CCScreenshot::upright(p, UIInterfaceOrientationLandscapeRight);
    ASSERT_EQ(r.width, 3);
    ASSERT_EQ(r.height, 2);
    EXPECT_EQ(red(r, 0, 1), 0); // portrait top-left at the bottom-left
    EXPECT_EQ(red(r, 0, 0), 1); // portrait top-right at the top-left
    EXPECT_EQ(red(r, 2, 0), 5);
    CCPixelImage l = CCScreenshot::upright(p, UIInterfaceOrientationLandscapeLeft);
    EXPECT_EQ(red(l, 2, 0), 0);
    EXPECT_EQ(red(l, 0, 1), 5);
    CCPixelImage d = CCScreenshot::upright(p, UIInterfaceOrientationPortraitUpsideDown);
    EXPECT_EQ(red(d, 0, 0), 5);
    EXPECT_EQ(red(d, 1, 2), 0);
    EXPECT_EQ(CCScreenshot::upright(p, UIInterfaceOrientationPortrait).rgba, p.rgba);

    std::string error;
    EXPECT_FALSE(CCScreenshot::writePNG(CCPixelImage{}, "/tmp/never.png", &error));
    EXPECT_NE(error.find("no frame has been drawn"), std::string::npos);
    EXPECT_FALSE(CCScreenshot::writePNG(p, "/nonexistent/dir/a.png", &error));
    EXPECT_NE(error.find("cannot write the screenshot \"/nonexistent/dir/a.png\""), std::string::npos);
}

} // namespace
