#include <gtest/gtest.h>

#include "CCConfiguration.h"
#include "CCFileUtils.h"
#include "NSBundle.h"
#include "ccMacros.h"
#include "support/TestFiles.h"

namespace {

class FileUtilsTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = NSBundle::mainBundle()->resourcePath();
        NSBundle::mainBundle()->setResourcePath(dir.path());
        dir.write("back1.png", "1x");
        dir.write("img/cat.png", "1x");
        dir.write("img/cat@2x.png", "2x");
        dir.write("plain.png", "1x");
        dir.write("hd@2x.png", "2x");
    }
    void TearDown() override {
        ccContentScaleFactor = 1;
        NSBundle::mainBundle()->setResourcePath(saved_);
        CCConfiguration::purgeSharedConfiguration();
    }
    TempDir dir;
    std::string saved_;
};

TEST_F(FileUtilsTest, RelativeNamesResolveInTheLoadingBundle) {
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("back1.png"), dir.file("back1.png"));
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("img/cat.png"), dir.file("img/cat.png"));
    // Unknown names and absolute paths are used as given.
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("missing.png"), "missing.png");
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("/nowhere/x.png"), "/nowhere/x.png");
    // Another loading bundle is asked instead of the main one.
    TempDir other;
    other.write("back1.png", "other");
    auto* bundle = new NSBundle;
    bundle->setResourcePath(other.path());
    CCConfiguration::sharedConfiguration()->setLoadingBundle(bundle);
    bundle->release();
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("back1.png"), other.file("back1.png"));
}

TEST_F(FileUtilsTest, DoubleResolutionFilesAreChosenOnlyAtScaleTwo) {
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("img/cat.png"), dir.file("img/cat.png"));
    ccContentScaleFactor = 2;
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("img/cat.png"), dir.file("img/cat@2x.png"));
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("plain.png"), dir.file("plain.png"));
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("hd@2x.png"), dir.file("hd@2x.png"));
    EXPECT_EQ(CCFileUtils::getDoubleResolutionImage("a.b/noext"), "a.b/noext");
    ccContentScaleFactor = 1.5f;
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("img/cat.png"), dir.file("img/cat.png"));
}

TEST_F(FileUtilsTest, EmptyNameIsAFailure) {
    EXPECT_DEATH(CCFileUtils::fullPathFromRelativePath(""), "CCFileUtils: Invalid path");
}

} // namespace
