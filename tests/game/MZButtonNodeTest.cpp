#include <string>
#include <vector>

#include "CCScene.h"
#include "MZButtonNode.h"
#include "game/GameTestSupport.h"

namespace {

struct RecordingButtonDelegate : MZButtonDelegate {
    void didPressDown() override { log.push_back("down"); }
    void stoppedPressing() override { log.push_back("stopped"); }
    void didPressButton() override { log.push_back("pressed"); }
    std::vector<std::string> log;
};

// The back button's picture (64 x 40) centred at (40, 250): it spans x 8..72, y 230..270.
class ButtonNodeTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        scene = CCScene::node();
        button = MZButtonNode::spriteWithFile("back2.png");
        ASSERT_NE(button, nullptr);
        button->setPosition(CGPoint{40, 250});
        button->setDelegate(&delegate);
        scene->addChild(button);
        run(scene);
    }
    void tap(float x, float y) {
        UITouch* t = touchAt(x, y);
        send(kCCTouchBegan, {t});
        send(kCCTouchEnded, {t});
    }

    CCScene* scene = nullptr;
    MZButtonNode* button = nullptr;
    RecordingButtonDelegate delegate;
};

TEST_F(ButtonNodeTest, HitAreaReachesTenPointsBeyondTheRightAndTopEdgesOnly) {
    ASSERT_FLOAT_EQ(button->contentSize().width, 64);
    tap(72 + 5, 250); // right of the picture
    tap(40, 270 + 5); // above it
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"down", "pressed", "down", "pressed"}));
    delegate.log.clear();
    tap(8 - 5, 250);  // left of it
    tap(40, 230 - 5); // below it
    tap(72 + 11, 250);
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"stopped", "stopped", "stopped"}));
    EXPECT_FALSE(button->hasBeenTouched());
}

TEST_F(ButtonNodeTest, SlidingOffBeforeLiftingNeverPresses) {
    UITouch* t = touchAt(40, 250);
    send(kCCTouchBegan, {t});
    EXPECT_TRUE(button->hasBeenTouched());
    t->moveTo(CGPoint{250, 200}, CCClock::now(), UITouchPhaseMoved); // scene (200, 250)
    send(kCCTouchMoved, {t});
    send(kCCTouchEnded, {t});
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"down", "stopped"}));
    EXPECT_FALSE(button->hasBeenTouched());
}

TEST_F(ButtonNodeTest, SecondFingerIsIgnoredWhileTheFirstHolds) {
    UITouch* first = touchAt(40, 250);
    UITouch* second = touchAt(50, 250);
    send(kCCTouchBegan, {first});
    send(kCCTouchBegan, {second});
    send(kCCTouchEnded, {second});
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"down"}));
    send(kCCTouchEnded, {first});
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"down", "pressed"}));
}

TEST_F(ButtonNodeTest, CancelledPressReleasesTheButton) {
    UITouch* t = touchAt(40, 250);
    send(kCCTouchBegan, {t});
    send(kCCTouchCancelled, {t});
    EXPECT_FALSE(button->hasBeenTouched());
    tap(40, 250); // the button works again
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"down", "stopped", "down", "pressed"}));
}

TEST_F(ButtonNodeTest, WithoutDelegateStillTracksAndListensOnlyOnStage) {
    button->setDelegate(nullptr);
    UITouch* t = touchAt(40, 250);
    send(kCCTouchBegan, {t});
    EXPECT_TRUE(button->hasBeenTouched());
    send(kCCTouchEnded, {t});
    EXPECT_FALSE(button->hasBeenTouched());

    button->setDelegate(&delegate);
    button->retain();
    button->removeFromParentAndCleanup(true);
    tap(40, 250);
    EXPECT_TRUE(delegate.log.empty());
    scene->addChild(button);
    button->release();
    tap(40, 250);
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"down", "pressed"}));
}

} // namespace
