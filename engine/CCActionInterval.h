#pragma once
// Actions that run over a duration: the base that turns frame time into normalised time,
// and the actions composed of others (sequence, spawn, repeat, reverse time, delay).
#include <initializer_list>

#include "CCAction.h"

class CCActionInterval : public CCFiniteTimeAction {
public:
    static CCActionInterval* actionWithDuration(ccTime duration);
    // A duration of exactly 0 becomes the float epsilon, so that time can be normalised.
    bool initWithDuration(ccTime duration);
    // Refused: an interval action needs a duration.
    bool init() override;

    ccTime elapsed() const { return elapsed_; }

    void startWithTarget(CCNode* target) override;
    // The first step after a start discards its dt and updates with 0.
    void step(ccTime dt) override;
    bool isDone() override;
    // Fails: the plain interval action has no reverse.
    CCFiniteTimeAction* reverse() override;
    CCActionInterval* copy() const override;

protected:
    ccTime elapsed_ = 0;
    bool firstTick_ = true;
};

// Two actions one after the other. Longer lists fold from the left.
class CCSequence : public CCActionInterval {
public:
    // The list ends at its first nullptr: nullptr when the first is nullptr, the action itself
    // when there is only one.
    static CCFiniteTimeAction* actions(std::initializer_list<CCFiniteTimeAction*> list);
    template <class... More>
    static CCFiniteTimeAction* actions(CCFiniteTimeAction* first, More... more) {
        return actions({first, static_cast<CCFiniteTimeAction*>(more)...});
    }
    static CCSequence* actionOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two);
    bool initOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two);
    ~CCSequence() override;

    CCFiniteTimeAction* first() const { return actions_[0]; }
    CCFiniteTimeAction* second() const { return actions_[1]; }

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime time) override;
    CCSequence* reverse() override;
    CCSequence* copy() const override;

private:
    CCPtr<CCFiniteTimeAction> actions_[2];
    ccTime split = 0;
    int last = -1;
};

// Two actions at the same time; the shorter is padded with a delay to the longer's duration.
class CCSpawn : public CCActionInterval {
public:
    static CCFiniteTimeAction* actions(std::initializer_list<CCFiniteTimeAction*> list);
    template <class... More>
    static CCFiniteTimeAction* actions(CCFiniteTimeAction* first, More... more) {
        return actions({first, static_cast<CCFiniteTimeAction*>(more)...});
    }
    static CCSpawn* actionOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two);
    bool initOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two);
    ~CCSpawn() override;

    CCFiniteTimeAction* one() const { return one_; }
    CCFiniteTimeAction* two() const { return two_; }

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime time) override;
    CCSpawn* reverse() override;
    CCSpawn* copy() const override;

private:
    CCPtr<CCFiniteTimeAction> one_;
    CCPtr<CCFiniteTimeAction> two_;
};

// An action repeated a number of times. After a long frame it catches up one repetition
// per step.
class CCRepeat : public CCActionInterval {
public:
    static CCRepeat* actionWithAction(CCFiniteTimeAction* action, unsigned times);
    bool initWithAction(CCFiniteTimeAction* action, unsigned times);
    ~CCRepeat() override;

    unsigned times() const { return times_; }
    unsigned total() const { return total_; }
    CCFiniteTimeAction* innerAction() const { return other_; }

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime time) override;
    bool isDone() override;
    CCRepeat* reverse() override;
    CCRepeat* copy() const override;

private:
    unsigned times_ = 0;
    unsigned total_ = 0;
    CCPtr<CCFiniteTimeAction> other_;
};

// Plays an action backwards.
class CCReverseTime : public CCActionInterval {
public:
    static CCReverseTime* actionWithAction(CCFiniteTimeAction* action);
    bool initWithAction(CCFiniteTimeAction* action);
    ~CCReverseTime() override;

    CCFiniteTimeAction* innerAction() const { return other; }

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime time) override;
    // A copy of the inner action.
    CCFiniteTimeAction* reverse() override;
    CCReverseTime* copy() const override;

private:
    CCPtr<CCFiniteTimeAction> other;
};

// Waits.
class CCDelayTime : public CCActionInterval {
public:
    static CCDelayTime* actionWithDuration(ccTime duration);

    void update(ccTime time) override;
    CCDelayTime* reverse() override;
    CCDelayTime* copy() const override;
};
