#include "CCActionInterval.h"

#include <cmath>

#include "CCAssert.h"
#include "CCNode.h"

namespace {
constexpr ccTime kFloatEpsilon = 1.1920929e-7f;

// Retains an owned copy for the duration of an initialiser call.
template <class T> CCPtr<T> owned(T* copy) { return CCPtr<T>::adopt(copy); }
} // namespace

// --- CCActionInterval ---

CCActionInterval* CCActionInterval::actionWithDuration(ccTime duration) {
    return ccCreate<CCActionInterval>([&](CCActionInterval* a) { return a->initWithDuration(duration); });
}

bool CCActionInterval::initWithDuration(ccTime duration) {
    if (!CCAction::init()) return false;
    duration_ = duration == 0 ? kFloatEpsilon : duration;
    elapsed_ = 0;
    firstTick_ = true;
    return true;
}

bool CCActionInterval::init() {
    CCAssert(false, "IntervalActionInit: Init not supported. Use InitWithDuration");
    return false;
}

void CCActionInterval::startWithTarget(CCNode* target) {
    CCFiniteTimeAction::startWithTarget(target);
    elapsed_ = 0;
    firstTick_ = true;
}

void CCActionInterval::step(ccTime dt) {
    if (firstTick_) {
        firstTick_ = false;
        elapsed_ = 0;
    } else {
        elapsed_ += dt;
    }
    ccTime t = elapsed_ / duration_;
    update(t > 1 ? 1 : t);
}

bool CCActionInterval::isDone() { return elapsed_ >= duration_; }

CCFiniteTimeAction* CCActionInterval::reverse() {
    CCAssert(false, "CCIntervalAction: reverse not implemented.");
    return nullptr;
}

CCActionInterval* CCActionInterval::copy() const {
    return ccNew<CCActionInterval>([&](CCActionInterval* a) { return a->initWithDuration(duration_); });
}

// --- CCSequence ---

namespace {
template <class Make> CCFiniteTimeAction* fold(std::initializer_list<CCFiniteTimeAction*> list, Make make) {
    CCFiniteTimeAction* result = nullptr;
    for (CCFiniteTimeAction* action : list) {
        if (!action) break;
        result = result ? make(result, action) : action;
    }
    return result;
}
} // namespace

CCFiniteTimeAction* CCSequence::actions(std::initializer_list<CCFiniteTimeAction*> list) {
    return fold(list, [](CCFiniteTimeAction* a, CCFiniteTimeAction* b) { return actionOne(a, b); });
}

CCSequence* CCSequence::actionOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
    return ccCreate<CCSequence>([&](CCSequence* s) { return s->initOne(one, two); });
}

bool CCSequence::initOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
    CCAssert(one != nullptr, "Sequence: argument one must be non-nil");
    CCAssert(two != nullptr, "Sequence: argument two must be non-nil");
    if (!initWithDuration(one->duration() + two->duration())) return false;
    actions_[0] = one;
    actions_[1] = two;
    return true;
}

CCSequence::~CCSequence() = default;

void CCSequence::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    split = actions_[0]->duration() / duration_;
    last = -1;
}

void CCSequence::stop() {
    actions_[0]->stop();
    actions_[1]->stop();
    CCActionInterval::stop();
}

void CCSequence::update(ccTime t) {
    int found;
    ccTime childTime;
    if (t >= split) {
        found = 1;
        childTime = split == 1 ? 1 : (t - split) / (1 - split);
        if (last == -1) {
            // The first update already lies past the first action: run it through at once.
            actions_[0]->startWithTarget(target_);
            actions_[0]->update(1);
            actions_[0]->stop();
        }
    } else {
        found = 0;
        childTime = split != 0 ? t / split : 1;
    }
    if (found != last) {
        if (last != -1) {
            actions_[last]->update(1);
            actions_[last]->stop();
        }
        actions_[found]->startWithTarget(target_);
    }
    actions_[found]->update(childTime);
    last = found;
}

CCSequence* CCSequence::reverse() { return actionOne(actions_[1]->reverse(), actions_[0]->reverse()); }

CCSequence* CCSequence::copy() const {
    auto one = owned(actions_[0]->copy());
    auto two = owned(actions_[1]->copy());
    return ccNew<CCSequence>([&](CCSequence* s) { return s->initOne(one, two); });
}

// --- CCSpawn ---

CCFiniteTimeAction* CCSpawn::actions(std::initializer_list<CCFiniteTimeAction*> list) {
    return fold(list, [](CCFiniteTimeAction* a, CCFiniteTimeAction* b) { return actionOne(a, b); });
}

CCSpawn* CCSpawn::actionOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
    return ccCreate<CCSpawn>([&](CCSpawn* s) { return s->initOne(one, two); });
}

bool CCSpawn::initOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
    CCAssert(one != nullptr, "Spawn: argument one must be non-nil");
    CCAssert(two != nullptr, "Spawn: argument two must be non-nil");
    ccTime d1 = one->duration();
    ccTime d2 = two->duration();
    if (!initWithDuration(d1 > d2 ? d1 : d2)) return false;
    one_ = one;
    two_ = two;
    if (d1 > d2)
        two_ = CCSequence::actionOne(two, CCDelayTime::actionWithDuration(d1 - d2));
    else if (d1 < d2)
        one_ = CCSequence::actionOne(one, CCDelayTime::actionWithDuration(d2 - d1));
    return true;
}

CCSpawn::~CCSpawn() = default;

void CCSpawn::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    one_->startWithTarget(target);
    two_->startWithTarget(target);
}

void CCSpawn::stop() {
    one_->stop();
    two_->stop();
    CCActionInterval::stop();
}

void CCSpawn::update(ccTime t) {
    one_->update(t);
    two_->update(t);
}

CCSpawn* CCSpawn::reverse() { return actionOne(one_->reverse(), two_->reverse()); }

CCSpawn* CCSpawn::copy() const {
    auto one = owned(one_->copy());
    auto two = owned(two_->copy());
    return ccNew<CCSpawn>([&](CCSpawn* s) { return s->initOne(one, two); });
}

// --- CCRepeat ---

CCRepeat* CCRepeat::actionWithAction(CCFiniteTimeAction* action, unsigned times) {
    return ccCreate<CCRepeat>([&](CCRepeat* r) { return r->initWithAction(action, times); });
}

bool CCRepeat::initWithAction(CCFiniteTimeAction* action, unsigned times) {
    if (!action || !initWithDuration(action->duration() * static_cast<float>(times))) return false;
    times_ = times;
    other_ = action;
    total_ = 0;
    return true;
}

CCRepeat::~CCRepeat() = default;

void CCRepeat::startWithTarget(CCNode* target) {
    total_ = 0;
    CCActionInterval::startWithTarget(target);
    other_->startWithTarget(target);
}

void CCRepeat::stop() {
    other_->stop();
    CCActionInterval::stop();
}

void CCRepeat::update(ccTime t) {
    ccTime u = t * static_cast<float>(times_);
    if (u > static_cast<float>(total_ + 1)) {
        other_->update(1);
        total_++;
        other_->stop();
        other_->startWithTarget(target_);
        // The part of the next repetition this frame already covers (may exceed 1).
        other_->update(total_ == times_ ? 0 : u - static_cast<float>(total_));
    } else if (t == 1) {
        total_++;
        other_->update(1);
    } else {
        ccTime fraction = std::fmod(u, 1.0f);
        // On a repetition's boundary the finished repetition shows its end; it restarts in
        // the next step. (Updating with 0 here would flash its start for one frame.)
        if (fraction == 0 && u > 0) fraction = 1;
        other_->update(fraction > 1 ? 1 : fraction);
    }
}

// ">=": a repeat of 0 times, or one driven past t = 1 by an ease, must still finish.
bool CCRepeat::isDone() { return total_ >= times_; }

CCRepeat* CCRepeat::reverse() { return actionWithAction(other_->reverse(), times_); }

CCRepeat* CCRepeat::copy() const {
    auto inner = owned(other_->copy());
    return ccNew<CCRepeat>([&](CCRepeat* r) { return r->initWithAction(inner, times_); });
}

// --- CCReverseTime ---

CCReverseTime* CCReverseTime::actionWithAction(CCFiniteTimeAction* action) {
    return ccCreate<CCReverseTime>([&](CCReverseTime* r) { return r->initWithAction(action); });
}

bool CCReverseTime::initWithAction(CCFiniteTimeAction* action) {
    if (!action || !initWithDuration(action->duration())) return false;
    other = action;
    return true;
}

CCReverseTime::~CCReverseTime() = default;

void CCReverseTime::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    other->startWithTarget(target);
}

void CCReverseTime::stop() {
    other->stop();
    CCActionInterval::stop();
}

void CCReverseTime::update(ccTime t) { other->update(1 - t); }

CCFiniteTimeAction* CCReverseTime::reverse() { return ccAutorelease(other->copy()); }

CCReverseTime* CCReverseTime::copy() const {
    auto inner = owned(other->copy());
    return ccNew<CCReverseTime>([&](CCReverseTime* r) { return r->initWithAction(inner); });
}

// --- CCDelayTime ---

CCDelayTime* CCDelayTime::actionWithDuration(ccTime duration) {
    return ccCreate<CCDelayTime>([&](CCDelayTime* d) { return d->initWithDuration(duration); });
}

void CCDelayTime::update(ccTime) {}

CCDelayTime* CCDelayTime::reverse() { return actionWithDuration(duration_); }

CCDelayTime* CCDelayTime::copy() const {
    return ccNew<CCDelayTime>([&](CCDelayTime* d) { return d->initWithDuration(duration_); });
}
