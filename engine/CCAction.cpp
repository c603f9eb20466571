#include "CCAction.h"

#include "CCActionInterval.h"
#include "CCLog.h"
#include "CCNode.h"

CCAction* CCAction::action() {
    return ccCreate<CCAction>([](CCAction* a) { return a->init(); });
}

bool CCAction::init() {
    originalTarget_ = nullptr;
    target_ = nullptr;
    tag_ = -1;
    return true;
}

void CCAction::startWithTarget(CCNode* target) {
    originalTarget_ = target;
    target_ = target;
}

void CCAction::stop() { target_ = nullptr; }

bool CCAction::isDone() { return true; }

void CCAction::step(ccTime) { CCLog("[Action step]. override me"); }

void CCAction::update(ccTime) { CCLog("[Action update]. override me"); }

CCAction* CCAction::copy() const {
    auto* copy = ccNew<CCAction>([](CCAction* a) { return a->init(); });
    copy->setTag(tag_);
    return copy;
}

std::string CCAction::description() const {
    return "<" + className() + " = " + ccAddressString(this) + " | Tag = " + std::to_string(tag_) + ">";
}

CCFiniteTimeAction* CCFiniteTimeAction::reverse() { return nullptr; }

CCFiniteTimeAction* CCFiniteTimeAction::copy() const {
    auto* copy = ccNew<CCFiniteTimeAction>([](CCFiniteTimeAction* a) { return a->init(); });
    copy->setTag(tag_);
    copy->setDuration(duration_);
    return copy;
}

// --- CCRepeatForever ---

CCRepeatForever* CCRepeatForever::actionWithAction(CCActionInterval* action) {
    return ccCreate<CCRepeatForever>([&](CCRepeatForever* a) { return a->initWithAction(action); });
}

bool CCRepeatForever::initWithAction(CCActionInterval* action) {
    // Nothing to repeat: no action rather than a crash at its first start.
    if (!action || !CCAction::init()) return false;
    other = action;
    return true;
}

CCRepeatForever::~CCRepeatForever() = default;

CCActionInterval* CCRepeatForever::innerAction() const { return other; }

void CCRepeatForever::startWithTarget(CCNode* target) {
    CCAction::startWithTarget(target);
    other->startWithTarget(target);
}

void CCRepeatForever::step(ccTime dt) {
    other->step(dt);
    if (other->isDone()) {
        // A fresh start shows the inner action's time-0 state in this same frame; the rest
        // of the frame's time is not carried over.
        other->startWithTarget(target_);
        other->step(dt);
    }
}

bool CCRepeatForever::isDone() { return false; }

CCRepeatForever* CCRepeatForever::reverse() {
    return actionWithAction(dynamic_cast<CCActionInterval*>(other->reverse()));
}

CCRepeatForever* CCRepeatForever::copy() const {
    CCPtr<CCActionInterval> inner = CCPtr<CCActionInterval>::adopt(other->copy());
    return ccNew<CCRepeatForever>([&](CCRepeatForever* a) { return a->initWithAction(inner); });
}

// --- CCSpeed ---

CCSpeed* CCSpeed::actionWithAction(CCActionInterval* action, float speed) {
    return ccCreate<CCSpeed>([&](CCSpeed* a) { return a->initWithAction(action, speed); });
}

bool CCSpeed::initWithAction(CCActionInterval* action, float speed) {
    if (!action || !CCAction::init()) return false;
    other = action;
    speed_ = speed;
    return true;
}

CCSpeed::~CCSpeed() = default;

CCActionInterval* CCSpeed::innerAction() const { return other; }

void CCSpeed::startWithTarget(CCNode* target) {
    CCAction::startWithTarget(target);
    other->startWithTarget(target);
}

void CCSpeed::stop() {
    other->stop();
    CCAction::stop();
}

void CCSpeed::step(ccTime dt) { other->step(dt * speed_); }

bool CCSpeed::isDone() { return other->isDone(); }

CCSpeed* CCSpeed::reverse() { return actionWithAction(dynamic_cast<CCActionInterval*>(other->reverse()), speed_); }

CCSpeed* CCSpeed::copy() const {
    CCPtr<CCActionInterval> inner = CCPtr<CCActionInterval>::adopt(other->copy());
    return ccNew<CCSpeed>([&](CCSpeed* a) { return a->initWithAction(inner, speed_); });
}
