#include <gtest/gtest.h>

#include <GLES/gl.h>

#include "CCConfiguration.h"
#include "UIDevice.h"
#include "support/HeadlessGL.h"

namespace {

class ConfigurationTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gl.ok()) GTEST_SKIP() << "no headless GLES 1.1 context";
        CCConfiguration::purgeSharedConfiguration();
    }
    void TearDown() override {
        UIDevice::currentDevice()->setSystemVersion("4.1");
        CCConfiguration::purgeSharedConfiguration();
    }
    HeadlessGL gl;
};

TEST_F(ConfigurationTest, ReadsLimitsAndExtensionsOfTheCurrentContext) {
    CCConfiguration* conf = CCConfiguration::sharedConfiguration();
    EXPECT_EQ(conf, CCConfiguration::sharedConfiguration());

    GLint maxSize = 0, depth = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_GT(maxSize, 0);
    EXPECT_EQ(conf->maxTextureSize(), maxSize);
    EXPECT_EQ(conf->maxModelviewStackDepth(), depth);

    // Mesa offers point sprites but no PVRTC compression.
    EXPECT_TRUE(conf->checkForGLExtension("GL_OES_point_sprite"));
    EXPECT_FALSE(conf->supportsPVRTC());
    EXPECT_FALSE(conf->checkForGLExtension("GL_IMG_texture_compression_pvrtc"));
    EXPECT_EQ(conf->loadingBundle(), NSBundle::mainBundle());
}

TEST_F(ConfigurationTest, ExtensionNamesMatchOnlyWhole) {
    CCConfiguration* conf = CCConfiguration::sharedConfiguration();
    EXPECT_FALSE(conf->checkForGLExtension("GL_OES_point"));
    EXPECT_FALSE(conf->checkForGLExtension("OES_point_sprite"));
    EXPECT_FALSE(conf->checkForGLExtension(""));
    EXPECT_FALSE(conf->checkForGLExtension("GL_OES_point_sprite GL_OES_point_size_array"));
}

TEST_F(ConfigurationTest, PacksTheSystemVersionOneBytePerPart) {
    UIDevice::currentDevice()->setSystemVersion("4.0");
    EXPECT_EQ(CCConfiguration::sharedConfiguration()->OSVersion(), 0x04000000u);

    EXPECT_EQ(CCConfiguration::packVersion("3.1.2"), 0x03010200u);
    EXPECT_EQ(CCConfiguration::packVersion("4"), 0x04000000u);
    EXPECT_EQ(CCConfiguration::packVersion("1.2.3.4.5"), 0x01020304u);
    EXPECT_EQ(CCConfiguration::packVersion("5.x.1"), 0x05000100u);
    EXPECT_EQ(CCConfiguration::packVersion(""), 0u);
    // A part too large for its byte does not spill into the part above it.
    EXPECT_EQ(CCConfiguration::packVersion("3.300"), 0x03FF0000u);
}

TEST_F(ConfigurationTest, FirstUseWithoutAContextReadsGLOnceOneIsCurrent) {
    ASSERT_TRUE(EAGLContext::setCurrentContext(nullptr));
    CCConfiguration* early = CCConfiguration::sharedConfiguration();
    EXPECT_EQ(early->maxTextureSize(), 0);
    ASSERT_TRUE(EAGLContext::setCurrentContext(gl.context()));
    EXPECT_EQ(CCConfiguration::sharedConfiguration(), early);
    EXPECT_GT(early->maxTextureSize(), 0);
    EXPECT_TRUE(early->checkForGLExtension("GL_OES_point_sprite"));
}

TEST_F(ConfigurationTest, SecondInstanceIsRefused) {
    CCConfiguration::sharedConfiguration();
    EXPECT_DEATH(new CCConfiguration, "Attempted to allocate a second instance of a singleton.");
}

} // namespace
