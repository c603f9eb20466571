#include <gtest/gtest.h>

#include "NSBundle.h"
#include "support/TestFiles.h"

TEST(NSBundle, FindsResourcesInTheResourceFolder) {
    NSBundle* bundle = NSBundle::mainBundle();
    std::string saved = bundle->resourcePath();
    TempDir dir;
    dir.write("cat.png", "x");
    dir.write("img/dog.png", "y");
    bundle->setResourcePath(dir.path());
    EXPECT_EQ(bundle->pathForResource("cat.png", "", ""), dir.file("cat.png"));
    EXPECT_EQ(bundle->pathForResource("cat", "png", ""), dir.file("cat.png"));
    EXPECT_EQ(bundle->pathForResource("dog.png", "", "img"), dir.file("img/dog.png"));
    EXPECT_EQ(bundle->pathForResource("dog.png", "", ""), "");
    EXPECT_EQ(bundle->pathForResource("img", "", ""), "") << "folders are not resources";
    EXPECT_EQ(bundle->pathForResource("", "", ""), "");
    bundle->setResourcePath(saved);
}

TEST(NSBundle, DefaultsToTheRepositoryResources) {
    // The test binary lives below the source tree, whose Resources folder holds fonts.conf.
    EXPECT_FALSE(NSBundle::mainBundle()->pathForResource("fonts.conf", "", "").empty());
}
