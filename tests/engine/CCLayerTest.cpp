#include <gtest/gtest.h>

#include "CCLayer.h"
#include "CCMultiplexLayer.h"
#include "UIAccelerometer.h"
#include "support/TouchTestSupport.h"

namespace {

struct TouchLayer : CCLayer {
    static TouchLayer* node(TouchLog* log) {
        return ccCreate<TouchLayer>([&](TouchLayer* l) {
            l->log = log;
            return l->init();
        });
    }
    void ccTouchesBegan(NSSet* touches, UIEvent*) override { log->push_back("touches " + std::to_string(touches->count())); }
    void accelerometer(UIAccelerometer*, UIAcceleration* a) override { log->push_back("tilt " + std::to_string(a->y())); }
    TouchLog* log = nullptr;
};

class LayerTest : public TouchDispatcherTest {
protected:
    void SetUp() override {
        TouchDispatcherTest::SetUp();
        stage = CCNode::node();
        stage->onEnter();
    }
    void TearDown() override {
        stage->onExit();
        UIAccelerometer::sharedAccelerometer()->setDelegate(nullptr);
        TouchDispatcherTest::TearDown();
    }
    void tap() { dispatcher->touchesBegan(setOf({touch()}), event()); }

    CCNode* stage = nullptr;
};

TEST_F(LayerTest, IsScreenSizedAndCentred) {
    CCLayer* layer = CCLayer::node();
    EXPECT_EQ(layer->contentSize(), ccLayerWinSize());
    EXPECT_EQ(layer->anchorPoint(), CGPointMake(0.5f, 0.5f));
    EXPECT_FALSE(layer->isRelativeAnchorPoint());
    EXPECT_FALSE(layer->isTouchEnabled());
    EXPECT_FALSE(layer->isAccelerometerEnabled());
}

TEST_F(LayerTest, ReceivesTouchesOnlyWhileRunningAndTouchEnabled) {
    TouchLayer* layer = TouchLayer::node(&log);
    layer->setIsTouchEnabled(true);
    layer->setIsTouchEnabled(true); // unchanged: no second registration
    EXPECT_TRUE(dispatcher->standardHandlers().empty()); // not running yet
    tap();

    stage->addChild(layer);
    ASSERT_EQ(dispatcher->standardHandlers().size(), 1u);
    EXPECT_EQ(dispatcher->standardHandlers()[0]->priority(), 0);
    tap();
    EXPECT_EQ(log, (TouchLog{"touches 1"}));

    // Turning it off and on while running takes effect at once.
    layer->setIsTouchEnabled(false);
    tap();
    layer->setIsTouchEnabled(true);
    tap();
    EXPECT_EQ(log, (TouchLog{"touches 1", "touches 1"}));

    // Removed from the stage: no more touches, and the dispatcher lets go of it.
    layer->retain();
    stage->removeChild(layer, true);
    tap();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_TRUE(dispatcher->standardHandlers().empty());
    EXPECT_EQ(layer->retainCount(), 2u); // the pool's and ours
    layer->release();
}

TEST_F(LayerTest, AddedDuringATouchReceivesFromTheNextEventOn) {
    TouchLayer* layer = TouchLayer::node(&log);
    layer->setIsTouchEnabled(true);
    auto* spawner = delegate("spawner", false);
    spawner->onBegan = [&](UITouch*) {
        if (!layer->parent()) stage->addChild(layer);
        return false;
    };
    dispatcher->addTargetedDelegate(spawner, 0, false);
    tap();
    tap();
    EXPECT_EQ(log, (TouchLog{"spawner began", "spawner began", "touches 1"}));
}

TEST_F(LayerTest, IsTheAccelerometersDelegateOnlyWhileRunningAndEnabled) {
    UIAccelerometer* accel = UIAccelerometer::sharedAccelerometer();
    TouchLayer* layer = TouchLayer::node(&log);
    layer->setIsAccelerometerEnabled(true);
    EXPECT_EQ(accel->delegate(), nullptr);
    stage->addChild(layer);
    EXPECT_EQ(accel->delegate(), static_cast<UIAccelerometerDelegate*>(layer));
    accel->setSource([] { return UIAccelerometerReading{0, 0.5, -1}; });
    accel->deliverReading(1);
    accel->setSource(nullptr);
    EXPECT_EQ(log, (TouchLog{"tilt 0.500000"}));

    // Switching off leaves another layer's registration alone.
    TouchLayer* other = TouchLayer::node(&log);
    other->setIsAccelerometerEnabled(true);
    stage->addChild(other);
    layer->setIsAccelerometerEnabled(false);
    EXPECT_EQ(accel->delegate(), static_cast<UIAccelerometerDelegate*>(other));
    stage->removeChild(other, true);
    EXPECT_EQ(accel->delegate(), nullptr);
}

TEST_F(LayerTest, ADestroyedLayerNeverStaysTheAccelerometersDelegate) {
    UIAccelerometer* accel = UIAccelerometer::sharedAccelerometer();
    {
        CCAutoreleaseScope inner;
        TouchLayer* layer = TouchLayer::node(&log);
        accel->setDelegate(layer); // directly, as game layers do; never cleared by the layer
    }
    EXPECT_EQ(accel->delegate(), nullptr);
    accel->deliverReading(0);
    EXPECT_TRUE(log.empty());
}

using LayerDeathTest = LayerTest;

TEST_F(LayerDeathTest, TargetedLayerMustAnswerBeganItself) {
    CCLayer* layer = CCLayer::node();
    dispatcher->addTargetedDelegate(layer, 0, false);
    EXPECT_DEATH(tap(), "Layer#ccTouchBegan override me");
}

TEST(MultiplexLayer, ShowsOneLayerAtATime) {
    CCAutoreleaseScope pool;
    CCLayer* a = CCLayer::node();
    CCLayer* b = CCLayer::node();
    CCMultiplexLayer* m = CCMultiplexLayer::layerWithLayers({a, b});
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->children()->count(), 1u);
    EXPECT_EQ(a->parent(), m);

    m->switchTo(1);
    EXPECT_EQ(a->parent(), nullptr);
    EXPECT_EQ(b->parent(), m);
    EXPECT_EQ(m->enabledLayer(), 1u);

    m->switchToAndReleaseMe(0);
    EXPECT_EQ(m->layerAtIndex(1), nullptr);
    EXPECT_EQ(b->retainCount(), 1u); // only the pool holds it now
    EXPECT_EQ(a->parent(), m);
    m->switchTo(1); // an empty slot shows nothing
    EXPECT_EQ(m->children()->count(), 0u);
    m->switchTo(0);
    EXPECT_EQ(a->parent(), m);

    EXPECT_EQ(CCMultiplexLayer::layerWithLayers({}), nullptr);
    EXPECT_EQ(CCMultiplexLayer::layerWithLayers({a, nullptr}), nullptr);
    EXPECT_DEATH(m->switchTo(2), "Invalid index in MultiplexLayer switchTo message");
    EXPECT_DEATH(m->switchToAndReleaseMe(5), "Invalid index in MultiplexLayer switchTo message");
}

} // namespace
