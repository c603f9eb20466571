#pragma once
// The action object model: what the action manager calls (startWithTarget, step, isDone,
// stop), the finite-time base, and the unbounded actions that wrap or follow others.
//
// Copies (copy()) are owned by the caller; reverse() and the static constructors hand back
// autoreleased actions.
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"
#include "ccTypes.h"

class CCNode;
class CCActionInterval;

class CCAction : public CCObject {
public:
    static CCAction* action();
    virtual bool init();

    // The target given to the last start; kept after stop. The manager files actions under it.
    CCNode* originalTarget() const { return originalTarget_; }
    // The target while running; nullptr after stop.
    CCNode* target() const { return target_; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    virtual void startWithTarget(CCNode* target);
    // Clears the target; harmless on an action that is not running.
    virtual void stop();
    virtual bool isDone();
    // Called once per frame with the frame's delta time.
    virtual void step(ccTime dt);
    // Called with the normalised time: 0 at the start, 1 at the end.
    void update(ccTime time) override;
    // A new unstarted action of the same class. At this level the tag is carried over.
    virtual CCAction* copy() const;

    // "<ClassName = ADDRESS | Tag = tag>".
    std::string description() const override;

protected:
    CCNode* originalTarget_ = nullptr;
    CCNode* target_ = nullptr;
    int tag_ = -1;
};

// An action with a duration in seconds (0 for instant actions).
class CCFiniteTimeAction : public CCAction {
public:
    ccTime duration() const { return duration_; }
    void setDuration(ccTime duration) { duration_ = duration; }

    // The action played backwards, or nullptr where there is none.
    virtual CCFiniteTimeAction* reverse();
    CCFiniteTimeAction* copy() const override;

protected:
    ccTime duration_ = 0;
};

// Repeats an interval action until removed; never reports done.
class CCRepeatForever : public CCAction {
public:
    static CCRepeatForever* actionWithAction(CCActionInterval* action);
    bool initWithAction(CCActionInterval* action);
    ~CCRepeatForever() override;

    CCActionInterval* innerAction() const;

    void startWithTarget(CCNode* target) override;
    void step(ccTime dt) override;
    bool isDone() override;
    CCRepeatForever* reverse();
    CCRepeatForever* copy() const override;

private:
    CCPtr<CCActionInterval> other;
};

// Runs an interval action with its time scaled by a factor that may change while it runs.
class CCSpeed : public CCAction {
public:
    static CCSpeed* actionWithAction(CCActionInterval* action, float speed);
    bool initWithAction(CCActionInterval* action, float speed);
    ~CCSpeed() override;

    float speed() const { return speed_; }
    void setSpeed(float speed) { speed_ = speed; }
    CCActionInterval* innerAction() const;

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void step(ccTime dt) override;
    bool isDone() override;
    CCSpeed* reverse();
    CCSpeed* copy() const override;

private:
    CCPtr<CCActionInterval> other;
    float speed_ = 0;
};
