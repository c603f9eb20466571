// The scheduler: per-frame updates run in priority order whatever the order they were
// registered in; timers call a method at their own interval; pausing a node stops its timers
// and its actions until it is resumed.
#include <cstdio>
#include <string>

#include "CCColorLayer.h"
#include "CCIntervalActions.h"
#include "CCLabelBMFont.h"
#include "CCLabelTTF.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CGPointExtension.h"
#include "ExampleApp.h"

namespace {

// A ball that moves right every frame and notes its priority in the frame's list.
class Ticker : public CCSprite {
public:
    static Ticker* node(const char* frame, int priority, std::string* order) {
        Ticker* t = ccCreate<Ticker>([frame](Ticker* s) { return s->initWithSpriteFrameName(frame); });
        if (!t) return nullptr;
        t->priority_ = priority;
        t->order_ = order;
        t->scheduleUpdateWithPriority(priority);
        return t;
    }
    void update(float dt) override {
        *order_ += (order_->empty() ? "" : " then ") + std::to_string(priority_);
        setPosition(ccp(position().x > 470 ? 170 : position().x + 80 * dt, position().y));
    }

private:
    int priority_ = 0;
    std::string* order_ = nullptr;
};

class SchedulerLayer : public CCLayer {
public:
    static SchedulerLayer* node() { return ccCreate<SchedulerLayer>([](SchedulerLayer* l) { return l->init(); }); }

    bool init() override {
        if (!CCLayer::init()) return false;
        addChild(CCColorLayer::layerWithColor(ccc4(30, 34, 44, 255)));
        // Registered as 1, 0, -1; they run as -1, 0, 1.
        const char* frames[] = {"ball-red", "ball-green", "ball-blue"};
        for (int priority : {1, 0, -1}) {
            Ticker* ticker = Ticker::node(frames[priority + 1], priority, &order_);
            if (!ticker) return false;
            ticker->setPosition(ccp(170 + 100 * (priority + 1), 290 - 25 * (priority + 1)));
            addChild(ticker);
        }
        orderLabel_ = text("", ccp(240, 205));

        // Timers: each row counts its calls.
        const float intervals[] = {0.25f, 0.5f, 1.0f};
        for (int i = 0; i < 3; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "every %.2f s", intervals[i]);
            text(name, ccp(90, 160 - i * 36));
            counters_[i] = CCLabelBMFont::labelWithString("0", "exampleFont.fnt");
            if (!counters_[i]) return false;
            counters_[i]->setPosition(ccp(250, 160 - i * 36));
            addChild(counters_[i]);
        }
        schedule(schedule_selector(SchedulerLayer::quarter), 0.25f);
        schedule(schedule_selector(SchedulerLayer::half), 0.5f);
        schedule(schedule_selector(SchedulerLayer::second), 1.0f);
        schedule(schedule_selector(SchedulerLayer::showOrder)); // every frame, after the updates

        // Pause and resume: the star's spin stops while it is paused.
        star_ = CCSprite::spriteWithSpriteFrameName("star");
        star_->setScale(2);
        star_->setPosition(ccp(400, 90));
        star_->runAction(CCRepeatForever::actionWithAction(CCRotateBy::actionWithDuration(1, 180)));
        addChild(star_);
        pausedLabel_ = text("running", ccp(400, 40));
        schedule(schedule_selector(SchedulerLayer::togglePause), 1.5f);
        return true;
    }

    void quarter(float) { count(0); }
    void half(float) { count(1); }
    void second(float) { count(2); }

    void showOrder(float) {
        if (order_ != shown_) orderLabel_->setString("updates this frame: " + order_);
        shown_ = order_;
        order_.clear();
    }

    void togglePause(float) {
        paused_ = !paused_;
        paused_ ? star_->pauseSchedulerAndActions() : star_->resumeSchedulerAndActions();
        pausedLabel_->setString(paused_ ? "paused" : "running");
    }

private:
    CCLabelTTF* text(const std::string& s, CGPoint at) {
        CCLabelTTF* label = CCLabelTTF::labelWithString(s.empty() ? " " : s, "DejaVu Sans", 14);
        label->setPosition(at);
        addChild(label);
        return label;
    }
    void count(int row) { counters_[row]->setString(std::to_string(++calls_[row])); }

    std::string order_, shown_;
    CCLabelTTF* orderLabel_ = nullptr;  // child
    CCLabelBMFont* counters_[3] = {};    // children
    int calls_[3] = {};
    CCSprite* star_ = nullptr;           // child
    CCLabelTTF* pausedLabel_ = nullptr; // child
    bool paused_ = false;
};

} // namespace

int main(int argc, char** argv) {
    return ExampleApp::run(argc, argv, "scheduler", []() -> CCScene* {
        if (!ExampleApp::addSpriteFrames("sheet.plist")) return nullptr;
        SchedulerLayer* layer = SchedulerLayer::node();
        if (!layer) return nullptr;
        CCScene* scene = CCScene::node();
        scene->addChild(layer);
        return scene;
    });
}
