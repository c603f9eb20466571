// The application icon: every theme size written where desktops look, a rounded square (clear
// corners) with the cat standing out of the sky at each size.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "AppIcon.h"
#include "Image.h"
#include "support/TestFiles.h"

namespace {

// Orange pixels: the cat's fur, never in the sky or the grass.
int furPixels(const restool::Image& image) {
    int n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.pixel(x, y);
            n += p[3] > 200 && p[0] > 170 && p[1] > 70 && p[1] < 170 && p[2] < 90;
        }
    return n;
}

TEST(AppIconTest, EverySizeIsARoundedSquareWithTheCat) {
    for (int size : restool::appIconSizes()) {
        SCOPED_TRACE(size);
        restool::Image icon = restool::drawAppIcon(size);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        EXPECT_LT(icon.pixel(0, 0)[3], 40);
        EXPECT_LT(icon.pixel(size - 1, size - 1)[3], 40);
        EXPECT_EQ(icon.pixel(size / 2, size / 10)[3], 255);
        EXPECT_GT(furPixels(icon), size * size / 20);
    }
}

TEST(AppIconTest, WritesTheThemeFoldersAndNamesAFolderItCannotMake) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(restool::writeAppIcons(dir.path(), "org.example.Game", &error)) << error;
    for (int size : restool::appIconSizes()) {
        const std::string n = std::to_string(size);
        const std::string path = dir.file("hicolor/" + n + "x" + n + "/apps/org.example.Game.png");
        restool::Image back;
        ASSERT_TRUE(restool::readPng(path, &back, &error)) << error;
        EXPECT_EQ(back.width, size);
    }
    const std::string blocked = dir.write("file", std::string("not a folder"));
    EXPECT_FALSE(restool::writeAppIcons(blocked, "x", &error));
    EXPECT_NE(error.find(blocked), std::string::npos) << error;
}

} // namespace
