#pragma once
// Actions that do their whole work when they start: show, hide, toggle, place, flip, and
// the callbacks into game code. Run directly they act inside runAction; inside a sequence
// they act when the sequence reaches them.
#include <functional>
#include <memory>

#include "CCAction.h"
#include "CCSelector.h"

class CCActionInstant : public CCFiniteTimeAction {
public:
    static CCActionInstant* action();
    bool init() override;

    bool isDone() override;
    // Updates with 1 (the work was done at the start).
    void step(ccTime dt) override;
    void update(ccTime time) override;
    // A copy of the action.
    CCActionInstant* reverse() override;
    CCActionInstant* copy() const override;
};

class CCShow : public CCActionInstant {
public:
    static CCShow* action();
    void startWithTarget(CCNode* target) override;
    CCActionInstant* reverse() override;
    CCShow* copy() const override;
};

class CCHide : public CCActionInstant {
public:
    static CCHide* action();
    void startWithTarget(CCNode* target) override;
    CCActionInstant* reverse() override;
    CCHide* copy() const override;
};

class CCToggleVisibility : public CCActionInstant {
public:
    static CCToggleVisibility* action();
    void startWithTarget(CCNode* target) override;
    CCToggleVisibility* copy() const override;
};

class CCPlace : public CCActionInstant {
public:
    static CCPlace* actionWithPosition(CGPoint position);
    bool initWithPosition(CGPoint position);
    void startWithTarget(CCNode* target) override;
    CCPlace* copy() const override;

private:
    CGPoint position_{};
};

// The flips act on targets that implement CCFlipProtocol (sprites); on others they do nothing.
class CCFlipX : public CCActionInstant {
public:
    static CCFlipX* actionWithFlipX(bool flipX);
    bool initWithFlipX(bool flipX);
    bool flipX() const { return flipX_; }
    void startWithTarget(CCNode* target) override;
    CCFlipX* reverse() override;
    CCFlipX* copy() const override;

private:
    bool flipX_ = false;
};

class CCFlipY : public CCActionInstant {
public:
    static CCFlipY* actionWithFlipY(bool flipY);
    bool initWithFlipY(bool flipY);
    bool flipY() const { return flipY_; }
    void startWithTarget(CCNode* target) override;
    CCFlipY* reverse() override;
    CCFlipY* copy() const override;

private:
    bool flipY_ = false;
};

using SEL_CallFunc = CCSelector<void()>;
using SEL_CallFuncN = CCSelector<void(CCNode*)>;
using SEL_CallFuncND = CCSelector<void(CCNode*, void*)>;
#define callfunc_selector(M) ::ccSelector<void()>(&M, #M)
#define callfuncN_selector(M) ::ccSelector<void(CCNode*)>(&M, #M)
#define callfuncND_selector(M) ::ccSelector<void(CCNode*, void*)>(&M, #M)

// Calls a method with no argument on an object it holds for its whole life.
// An empty object or selector makes the call do nothing.
class CCCallFunc : public CCActionInstant {
public:
    static CCCallFunc* actionWithTarget(CCObject* target, SEL_CallFunc selector);
    bool initWithTarget(CCObject* target, SEL_CallFunc selector);
    ~CCCallFunc() override;

    CCObject* targetCallback() const { return targetCallback_; }
    void setTargetCallback(CCObject* target);

    // Starting performs the call.
    void startWithTarget(CCNode* target) override;
    virtual void execute();
    CCCallFunc* copy() const override;

protected:
    CCPtr<CCObject> targetCallback_;

private:
    SEL_CallFunc selector_;
};

// Calls a method with the node that runs the action.
class CCCallFuncN : public CCCallFunc {
public:
    static CCCallFuncN* actionWithTarget(CCObject* target, SEL_CallFuncN selector);
    bool initWithTarget(CCObject* target, SEL_CallFuncN selector);
    void execute() override;
    CCCallFuncN* copy() const override;

private:
    SEL_CallFuncN selector_;
};

// Calls a method with the node and a pointer the caller owns.
class CCCallFuncND : public CCCallFuncN {
public:
    using Method = SEL_CallFuncND::Method;

    static CCCallFuncND* actionWithTarget(CCObject* target, SEL_CallFuncND selector, void* data);
    bool initWithTarget(CCObject* target, SEL_CallFuncND selector, void* data);
    Method callbackMethod() const { return callbackMethod_; }
    void setCallbackMethod(Method method) { callbackMethod_ = method; }
    void* data() const { return data_; }
    void execute() override;
    CCCallFuncND* copy() const override;

private:
    SEL_CallFuncND selector_;
    void* data_ = nullptr;
    Method callbackMethod_ = nullptr;
};

// Calls a stored callable; refuses an empty one.
class CCCallBlock : public CCActionInstant {
public:
    static CCCallBlock* actionWithBlock(std::function<void()> block);
    bool initWithBlock(std::function<void()> block);
    void startWithTarget(CCNode* target) override;
    virtual void execute();
    CCCallBlock* copy() const override;

private:
    // Copies share the one callable.
    std::shared_ptr<std::function<void()>> block_;
};

class CCCallBlockN : public CCActionInstant {
public:
    static CCCallBlockN* actionWithBlock(std::function<void(CCNode*)> block);
    bool initWithBlock(std::function<void(CCNode*)> block);
    void startWithTarget(CCNode* target) override;
    virtual void execute();
    CCCallBlockN* copy() const override;

private:
    std::shared_ptr<std::function<void(CCNode*)>> block_;
};
