// Sprites: a row of single sprites, each showing one property (rotation, scale, flip, tint,
// opacity), over two thousand balls that a sprite batch node draws from one texture in one
// draw call, moved every frame by the layer's update.
#include <cstdlib>
#include <vector>

#include "CCColorLayer.h"
#include "CCLabelTTF.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CGPointExtension.h"
#include "ExampleApp.h"

namespace {

constexpr int kBalls = 2000;
constexpr float kFloor = 0, kCeiling = 215; // the balls stay below the row of sprites

float randomBetween(float low, float high) { return low + (high - low) * float(random() % 10000) / 10000; }

class BallsLayer : public CCLayer {
public:
    static BallsLayer* node() { return ccCreate<BallsLayer>([](BallsLayer* l) { return l->init(); }); }

    bool init() override {
        if (!CCLayer::init()) return false;
        // Every ball is a frame of sheet.png, so all of them can share the batch's texture.
        batch_ = CCSpriteBatchNode::batchNodeWithFile("sheet.png", kBalls);
        if (!batch_) return false;
        addChild(batch_);
        const char* colours[] = {"ball-red", "ball-green", "ball-blue", "ball-yellow"};
        for (int i = 0; i < kBalls; ++i) {
            CCSprite* ball = CCSprite::spriteWithSpriteFrameName(colours[i % 4]);
            if (!ball) return false;
            ball->setPosition(ccp(randomBetween(0, 480), randomBetween(kFloor, kCeiling)));
            ball->setScale(randomBetween(0.25f, 0.6f));
            batch_->addChild(ball);
            velocities_.push_back(ccp(randomBetween(-120, 120), randomBetween(-120, 120)));
        }
        scheduleUpdate(); // update(dt) every frame while the layer runs
        return true;
    }

    void update(float dt) override {
        std::size_t i = 0;
        for (CCObject* child : *batch_->children()) {
            auto* ball = static_cast<CCSprite*>(child);
            CGPoint& v = velocities_[i++];
            CGPoint p = ccpAdd(ball->position(), ccpMult(v, dt));
            if (p.x < 0 || p.x > 480) v.x = -v.x;
            if (p.y < kFloor || p.y > kCeiling) v.y = -v.y;
            ball->setPosition(p);
        }
    }

private:
    CCSpriteBatchNode* batch_ = nullptr; // child
    std::vector<CGPoint> velocities_;
};

// One cat of the row, with a caption under it.
CCSprite* addCat(CCNode* parent, float x, const char* caption) {
    CCSprite* cat = CCSprite::spriteWithSpriteFrameName("run1");
    cat->setPosition(ccp(x, 275));
    cat->setScale(0.6f);
    parent->addChild(cat);
    CCLabelTTF* label = CCLabelTTF::labelWithString(caption, "DejaVu Sans", 11);
    label->setPosition(ccp(x, 236));
    parent->addChild(label);
    return cat;
}

} // namespace

int main(int argc, char** argv) {
    return ExampleApp::run(argc, argv, "sprites", []() -> CCScene* {
        // Names every frame of the sheet: "run1" … "run4", "ball-red", "star" …
        if (!ExampleApp::addSpriteFrames("sheet.plist")) return nullptr;
        CCScene* scene = CCScene::node();
        scene->addChild(CCColorLayer::layerWithColor(ccc4(20, 24, 40, 255)));
        BallsLayer* balls = BallsLayer::node();
        if (!balls) return nullptr;
        scene->addChild(balls);

        CCColorLayer* bar = CCColorLayer::layerWithColor(ccc4(0, 0, 0, 170), 480, 95);
        bar->setPosition(ccp(0, 225)); // a layer's position is its bottom-left corner
        scene->addChild(bar);
        addCat(scene, 40, "plain");
        addCat(scene, 120, "rotation 30")->setRotation(30);
        addCat(scene, 200, "scale 0.9")->setScale(0.9f);
        addCat(scene, 280, "flipX")->setFlipX(true);
        addCat(scene, 360, "color")->setColor(ccc3(255, 120, 120));
        addCat(scene, 440, "opacity 100")->setOpacity(100);
        return scene;
    });
}
