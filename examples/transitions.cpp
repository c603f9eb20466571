// Scene transitions: three scenes take turns, each handing over to the next through a fade
// (to black, then to white, then to a colour) after a second on screen, or at once on a tap.
// A scene starts its own animation in onEnterTransitionDidFinish, once the fade has ended.
#include <string>

#include "CCActionInterval.h"
#include "CCColorLayer.h"
#include "CCDirector.h"
#include "CCIntervalActions.h"
#include "CCLabelTTF.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCTransitionFade.h"
#include "CGPointExtension.h"
#include "ExampleApp.h"

namespace {

constexpr float kShown = 1.0f, kFade = 0.8f;

class PageLayer : public CCLayer {
public:
    // A scene holding the page of that number (0, 1 or 2).
    static CCScene* scene(int page) {
        PageLayer* layer = ccCreate<PageLayer>([page](PageLayer* l) { return l->initWithPage(page); });
        if (!layer) return nullptr;
        CCScene* s = CCScene::node();
        s->addChild(layer);
        return s;
    }

    bool initWithPage(int page) {
        if (!CCLayer::init()) return false;
        page_ = page;
        const ccColor4B backgrounds[] = {ccc4(180, 60, 50, 255), ccc4(40, 130, 80, 255), ccc4(50, 80, 170, 255)};
        addChild(CCColorLayer::layerWithColor(backgrounds[page]));
        CCLabelTTF* label = CCLabelTTF::labelWithString("Scene " + std::to_string(page + 1), "DejaVu Sans", 48);
        label->setPosition(ccp(240, 220));
        addChild(label);
        star_ = CCSprite::spriteWithSpriteFrameName("star");
        if (!star_) return false;
        star_->setScale(3);
        star_->setPosition(ccp(240, 100));
        addChild(star_);
        setIsTouchEnabled(true);
        return true;
    }

    // Called once the transition that brought this scene in is over (at once for the first).
    void onEnterTransitionDidFinish() override {
        CCLayer::onEnterTransitionDidFinish();
        star_->runAction(CCRepeatForever::actionWithAction(CCRotateBy::actionWithDuration(2, 360)));
        schedule(schedule_selector(PageLayer::next), kShown);
    }

    void ccTouchesEnded(NSSet*, UIEvent*) override { next(0); }

    void next(float) {
        unschedule(schedule_selector(PageLayer::next));
        CCScene* following = scene((page_ + 1) % 3);
        const ccColor3B fadeColours[] = {ccc3(0, 0, 0), ccc3(255, 255, 255), ccc3(250, 200, 60)};
        // The fade shows this scene for its first half and the next one for its second.
        CCDirector::sharedDirector()->replaceScene(CCTransitionFade::transitionWithDuration(kFade, following, fadeColours[page_]));
    }

private:
    int page_ = 0;
    CCSprite* star_ = nullptr; // child
};

} // namespace

int main(int argc, char** argv) {
    return ExampleApp::run(argc, argv, "transitions", []() -> CCScene* {
        if (!ExampleApp::addSpriteFrames("sheet.plist")) return nullptr;
        return PageLayer::scene(0);
    });
}
