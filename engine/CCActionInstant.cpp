#include "CCActionInstant.h"

#include "CCFlipProtocol.h"
#include "CCNode.h"

namespace {
template <class T> T* createPlain() {
    return ccCreate<T>([](T* a) { return a->init(); });
}
template <class T> T* newPlain() {
    return ccNew<T>([](T* a) { return a->init(); });
}
CCFlipProtocol* flippable(CCNode* target) { return dynamic_cast<CCFlipProtocol*>(target); }
} // namespace

// --- CCActionInstant ---

CCActionInstant* CCActionInstant::action() { return createPlain<CCActionInstant>(); }

bool CCActionInstant::init() {
    if (!CCFiniteTimeAction::init()) return false;
    duration_ = 0;
    return true;
}

bool CCActionInstant::isDone() { return true; }

void CCActionInstant::step(ccTime) { update(1); }

void CCActionInstant::update(ccTime) {}

CCActionInstant* CCActionInstant::reverse() { return ccAutorelease(copy()); }

CCActionInstant* CCActionInstant::copy() const { return newPlain<CCActionInstant>(); }

// --- visibility ---

CCShow* CCShow::action() { return createPlain<CCShow>(); }

void CCShow::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    target->setVisible(true);
}

CCActionInstant* CCShow::reverse() { return CCHide::action(); }

CCShow* CCShow::copy() const { return newPlain<CCShow>(); }

CCHide* CCHide::action() { return createPlain<CCHide>(); }

void CCHide::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    target->setVisible(false);
}

CCActionInstant* CCHide::reverse() { return CCShow::action(); }

CCHide* CCHide::copy() const { return newPlain<CCHide>(); }

CCToggleVisibility* CCToggleVisibility::action() { return createPlain<CCToggleVisibility>(); }

void CCToggleVisibility::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    target->setVisible(!target->visible());
}

CCToggleVisibility* CCToggleVisibility::copy() const { return newPlain<CCToggleVisibility>(); }

// --- CCPlace ---

CCPlace* CCPlace::actionWithPosition(CGPoint position) {
    return ccCreate<CCPlace>([&](CCPlace* a) { return a->initWithPosition(position); });
}

bool CCPlace::initWithPosition(CGPoint position) {
    if (!CCActionInstant::init()) return false;
    position_ = position;
    return true;
}

void CCPlace::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    target->setPosition(position_);
}

CCPlace* CCPlace::copy() const {
    return ccNew<CCPlace>([&](CCPlace* a) { return a->initWithPosition(position_); });
}

// --- flips ---

CCFlipX* CCFlipX::actionWithFlipX(bool flipX) {
    return ccCreate<CCFlipX>([&](CCFlipX* a) { return a->initWithFlipX(flipX); });
}

bool CCFlipX::initWithFlipX(bool flipX) {
    if (!CCActionInstant::init()) return false;
    flipX_ = flipX;
    return true;
}

void CCFlipX::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    if (auto* node = flippable(target)) node->setFlipX(flipX_);
}

CCFlipX* CCFlipX::reverse() { return actionWithFlipX(!flipX_); }

CCFlipX* CCFlipX::copy() const {
    return ccNew<CCFlipX>([&](CCFlipX* a) { return a->initWithFlipX(flipX_); });
}

CCFlipY* CCFlipY::actionWithFlipY(bool flipY) {
    return ccCreate<CCFlipY>([&](CCFlipY* a) { return a->initWithFlipY(flipY); });
}

bool CCFlipY::initWithFlipY(bool flipY) {
    if (!CCActionInstant::init()) return false;
    flipY_ = flipY;
    return true;
}

void CCFlipY::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    if (auto* node = flippable(target)) node->setFlipY(flipY_);
}

CCFlipY* CCFlipY::reverse() { return actionWithFlipY(!flipY_); }

CCFlipY* CCFlipY::copy() const {
    return ccNew<CCFlipY>([&](CCFlipY* a) { return a->initWithFlipY(flipY_); });
}

// --- CCCallFunc family ---

CCCallFunc* CCCallFunc::actionWithTarget(CCObject* target, SEL_CallFunc selector) {
    return ccCreate<CCCallFunc>([&](CCCallFunc* a) { return a->initWithTarget(target, selector); });
}

bool CCCallFunc::initWithTarget(CCObject* target, SEL_CallFunc selector) {
    if (!CCActionInstant::init()) return false;
    targetCallback_ = target;
    selector_ = selector;
    return true;
}

CCCallFunc::~CCCallFunc() = default;

void CCCallFunc::setTargetCallback(CCObject* target) { targetCallback_ = target; }

void CCCallFunc::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    execute();
}

void CCCallFunc::execute() {
    if (targetCallback_ && selector_) selector_(targetCallback_);
}

CCCallFunc* CCCallFunc::copy() const {
    return ccNew<CCCallFunc>([&](CCCallFunc* a) { return a->initWithTarget(targetCallback_, selector_); });
}

CCCallFuncN* CCCallFuncN::actionWithTarget(CCObject* target, SEL_CallFuncN selector) {
    return ccCreate<CCCallFuncN>([&](CCCallFuncN* a) { return a->initWithTarget(target, selector); });
}

bool CCCallFuncN::initWithTarget(CCObject* target, SEL_CallFuncN selector) {
    if (!CCCallFunc::initWithTarget(target, SEL_CallFunc())) return false;
    selector_ = selector;
    return true;
}

void CCCallFuncN::execute() {
    if (targetCallback_ && selector_) selector_(targetCallback_, target_);
}

CCCallFuncN* CCCallFuncN::copy() const {
    return ccNew<CCCallFuncN>([&](CCCallFuncN* a) { return a->initWithTarget(targetCallback_, selector_); });
}

CCCallFuncND* CCCallFuncND::actionWithTarget(CCObject* target, SEL_CallFuncND selector, void* data) {
    return ccCreate<CCCallFuncND>([&](CCCallFuncND* a) { return a->initWithTarget(target, selector, data); });
}

bool CCCallFuncND::initWithTarget(CCObject* target, SEL_CallFuncND selector, void* data) {
    if (!CCCallFuncN::initWithTarget(target, SEL_CallFuncN())) return false;
    selector_ = selector;
    data_ = data;
    callbackMethod_ = selector.method;
    return true;
}

void CCCallFuncND::execute() {
    if (targetCallback_ && callbackMethod_) (targetCallback_.get()->*callbackMethod_)(target_, data_);
}

CCCallFuncND* CCCallFuncND::copy() const {
    return ccNew<CCCallFuncND>(
        [&](CCCallFuncND* a) { return a->initWithTarget(targetCallback_, selector_, data_); });
}

// --- blocks ---

CCCallBlock* CCCallBlock::actionWithBlock(std::function<void()> block) {
    return ccCreate<CCCallBlock>([&](CCCallBlock* a) { return a->initWithBlock(std::move(block)); });
}

bool CCCallBlock::initWithBlock(std::function<void()> block) {
    if (!block || !CCActionInstant::init()) return false;
    block_ = std::make_shared<std::function<void()>>(std::move(block));
    return true;
}

void CCCallBlock::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    execute();
}

void CCCallBlock::execute() { (*block_)(); }

CCCallBlock* CCCallBlock::copy() const {
    auto* copy = ccNew<CCCallBlock>([](CCCallBlock* a) { return a->CCActionInstant::init(); });
    copy->block_ = block_;
    return copy;
}

CCCallBlockN* CCCallBlockN::actionWithBlock(std::function<void(CCNode*)> block) {
    return ccCreate<CCCallBlockN>([&](CCCallBlockN* a) { return a->initWithBlock(std::move(block)); });
}

bool CCCallBlockN::initWithBlock(std::function<void(CCNode*)> block) {
    if (!block || !CCActionInstant::init()) return false;
    block_ = std::make_shared<std::function<void(CCNode*)>>(std::move(block));
    return true;
}

void CCCallBlockN::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    execute();
}

void CCCallBlockN::execute() { (*block_)(target_); }

CCCallBlockN* CCCallBlockN::copy() const {
    auto* copy = ccNew<CCCallBlockN>([](CCCallBlockN* a) { return a->CCActionInstant::init(); });
    copy->block_ = block_;
    return copy;
}
