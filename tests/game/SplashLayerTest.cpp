#include "CCLabelTTF.h"
#include "CCSprite.h"
#include "CCTransitionFade.h"
#include "HelloWorldScene.h"
#include "NSRunLoop.h"
#include "SplashLayer.h"
#include "game/GameTestSupport.h"

namespace {

class TitleSceneTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        title = SplashLayer::scene();
        ASSERT_NE(title, nullptr);
        run(title);
    }
    unsigned handlersOf(bool (*is)(CCObject*)) const {
        unsigned n = 0;
        for (auto& h : CCTouchDispatcher::sharedDispatcher()->targetedHandlers()) n += is(h->delegate());
        return n;
    }
    SplashLayer* title = nullptr;
};

bool isGame(CCObject* o) { return dynamic_cast<HelloWorld*>(o) != nullptr; }
bool isTitle(CCObject* o) { return dynamic_cast<SplashLayer*>(o) != nullptr; }

TEST_F(TitleSceneTest, ShowsThePictureAndThePulsingInvitation) {
    EXPECT_FLOAT_EQ(title->hello()->scale(), 0.6f);
    frames(48); // 0.8 s: fully swollen
    EXPECT_NEAR(title->hello()->scale(), 1.2f, 0.02f);
    frames(42);
    EXPECT_NEAR(title->hello()->scale(), 0.6f, 0.02f);
    // The picture covers the screen from the bottom-left corner.
    EXPECT_EQ(title->splashNode()->boundingBox().origin.x, 0);
    EXPECT_EQ(title->splashNode()->boundingBox().size.width, 480);
}

TEST_F(TitleSceneTest, SeveralFingersInOneEventStartTheGameOnce) {
    send(kCCTouchBegan, {touchAt(100, 100), touchAt(300, 200)});
    EXPECT_TRUE(title->isClearing());
    EXPECT_EQ(handlersOf(isTitle), 0u);
    EXPECT_EQ(handlersOf(isGame), 1u);
    frame();
    EXPECT_NE(dynamic_cast<CCTransitionFade*>(director->runningScene()), nullptr);
}

TEST_F(TitleSceneTest, LeavingFadesTheWordsAndFreesThePicture) {
    send(kCCTouchBegan, {touchAt(240, 160)});
    frames(61);
    EXPECT_EQ(title->hello()->opacity(), 0);
    NSRunLoop::mainRunLoop()->runOnce(0); // the picture goes on a later pass of the run loop
    EXPECT_EQ(title->splashNode(), nullptr);
    EXPECT_EQ(CCTextureCache::sharedTextureCache()->textureForKey("Default2.png"), nullptr);
    frames(5);
    EXPECT_NE(dynamic_cast<HelloWorldScene*>(director->runningScene()), nullptr);
}

} // namespace
