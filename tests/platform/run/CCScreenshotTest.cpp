#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <sys/stat.h>

#include "CCScreenshot.h"
#include "UIApplication.h"

namespace {

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
