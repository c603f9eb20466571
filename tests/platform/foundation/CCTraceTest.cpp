#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

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

TEST(Trace, FieldsPassedAsACallableAreBuiltOnlyWhileATraceIsOpen) {
    std::vector<std::string> lines;
    int built = 0;
    auto fields = [&] {
        ++built;
        return CCTraceFields{{"n", static_cast<long long>(built)}};
    };
    EXPECT_FALSE(CCTrace::isOpen());
    CCTrace::event("closed", fields);
    EXPECT_EQ(built, 0);

    CCTrace::openSink([&](const std::string& l) { lines.push_back(l); });
    EXPECT_TRUE(CCTrace::isOpen());
    CCTrace::setFrame(3);
    CCTrace::setTime(0.05);
    CCTrace::event("open", fields);
    CCTrace::openSink(nullptr); // an empty sink closes it as well
    EXPECT_FALSE(CCTrace::isOpen());
    CCTrace::event("closed-again", fields);

    std::string path = std::string(ZORVIK_BINARY_DIR) + "/trace-callable.jsonl";
    ASSERT_TRUE(CCTrace::open(path, nullptr));
    EXPECT_TRUE(CCTrace::isOpen());
    CCTrace::event("to-file", fields);
    CCTrace::close();
    EXPECT_FALSE(CCTrace::isOpen());
    CCTrace::event("after", fields);

    EXPECT_EQ(built, 2);
    EXPECT_EQ(lines, std::vector<std::string>{"{\"frame\":3,\"time\":0.05,\"event\":\"open\",\"n\":1}"});
    std::ifstream in(path);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_NE(line.find("\"event\":\"to-file\",\"n\":2"), std::string::npos);
    std::remove(path.c_str());
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
