#include "CCActionManager.h"

#include <utility>

#include "CCAction.h"
#include "CCAssert.h"
#include "CCNode.h"
#include "CCScheduler.h"
#include "ccCArray.h"
#include "ccMacros.h"

namespace {
CCActionManager* sharedManager_ = nullptr;
} // namespace

CCActionManager* CCActionManager::sharedManager() {
    if (!sharedManager_) {
        auto* manager = new CCActionManager;
        sharedManager_ = manager;
        manager->init();
    }
    return sharedManager_;
}

void CCActionManager::purgeSharedManager() {
    CCActionManager* manager = sharedManager_;
    if (!manager) return;
    CCScheduler::sharedScheduler()->unscheduleUpdateForTarget(manager);
    sharedManager_ = nullptr;
    manager->release();
}

CCActionManager::CCActionManager() { CCAssertSingleton(sharedManager_); }

CCActionManager::~CCActionManager() {
    removeAllActions();
    // The scheduler may release the manager late (after a purge during its walk), when a
    // new shared manager may already exist.
    if (sharedManager_ == this) sharedManager_ = nullptr;
}

bool CCActionManager::init() {
    CCScheduler::sharedScheduler()->scheduleUpdateForTarget(this, 0, false);
    targets = nullptr;
    return true;
}

hashElement* CCActionManager::find(CCNode* target) const {
    hashElement* element = nullptr;
    HASH_FIND_PTR(targets, &target, element);
    return element;
}

unsigned CCActionManager::indexOf(const hashElement* element, const CCAction* action) {
    for (unsigned i = 0; i < element->actions.size(); ++i)
        if (element->actions[i] == action) return i;
    return CC_INVALID_INDEX;
}

void CCActionManager::deleteHashElement(hashElement* element) {
    // Every caller has emptied the array. Unlinked before the target is released: its
    // destructor may call back in.
    CCNode* target = element->target;
    CCTableWalk<hashElement>::dropping(walks_, element);
    HASH_DEL(targets, element);
    ++actionsChanged_;
    elements_.free(element);
    target->release();
}

void CCActionManager::removeActionAtIndex(unsigned index, hashElement* element) {
    CCAction* action = element->actions[index];
    if (element == currentTarget) {
        if (action == currentAction_ && !currentActionSalvaged_) {
            action->retain();
            currentActionSalvaged_ = true;
        }
        // Keeps the pass on the next action: no skip, no double step. Wraps at 0 on purpose.
        if (actionIndex_ >= index) actionIndex_--;
        ++actionsChanged_;
    }
    element->actions.erase(index);
    // Released once the array is consistent: its destructor may look at it.
    action->release();
    if (element->actions.empty()) {
        if (currentTarget == element)
            currentTargetSalvaged = true;
        else
            deleteHashElement(element);
    }
}

void CCActionManager::addAction(CCAction* action, CCNode* target, bool paused) {
    CCAssert(action != nullptr, "Argument action must be non-nil");
    CCAssert(target != nullptr, "Argument target must be non-nil");
    hashElement* element = find(target);
    if (!element) {
        element = elements_.make();
        element->paused = paused;
        target->retain();
        element->target = target;
        HASH_ADD_PTR(targets, target, element);
        ++actionsChanged_;
    }
    CCAssert(indexOf(element, action) == CC_INVALID_INDEX, "runAction: Action already running");
    element->actions.push_back(action);
    if (element == currentTarget) ++actionsChanged_;
    action->retain();
    action->startWithTarget(target);
}

void CCActionManager::removeAllActions() {
    // A released action or target may drop the element this walk goes to next.
    CCTableWalk<hashElement> walk(walks_, targets);
    while (hashElement* element = walk.next) {
        walk.next = ccTableNext(element);
        removeAllActionsFromTarget(element->target);
    }
}

void CCActionManager::removeAllActionsFromTarget(CCNode* target) {
    if (!target) return;
    hashElement* element = find(target);
    if (!element) return;
    if (element == currentTarget) {
        if (currentAction_ && !currentActionSalvaged_ && indexOf(element, currentAction_) != CC_INVALID_INDEX) {
            currentAction_->retain();
            currentActionSalvaged_ = true;
        }
        ++actionsChanged_;
    }
    // From the end, each one out of the array before it is released.
    while (!element->actions.empty()) {
        const unsigned last = element->actions.size() - 1;
        CCAction* action = element->actions[last];
        element->actions.erase(last);
        action->release();
    }
    if (currentTarget == element)
        currentTargetSalvaged = true;
    else
        deleteHashElement(element);
}

void CCActionManager::removeAction(CCAction* action) {
    if (!action) return;
    hashElement* element = find(action->originalTarget());
    if (!element) return;
    unsigned index = indexOf(element, action);
    if (index != CC_INVALID_INDEX) removeActionAtIndex(index, element);
}

void CCActionManager::removeFinishedAction(CCAction* action, hashElement* element) {
    // Unless its stop moved things about, it is where the pass left it: no lookup needed.
    if (actionIndex_ < element->actions.size() && element->actions[actionIndex_] == action &&
        action->originalTarget() == element->target) {
        removeActionAtIndex(actionIndex_, element);
    } else {
        removeAction(action);
    }
}

void CCActionManager::removeActionByTag(int tag, CCNode* target) {
    CCAssert(tag != kCCNodeTagInvalid, "Invalid tag");
    CCAssert(target != nullptr, "Target should be ! nil");
    hashElement* element = find(target);
    if (!element) return;
    for (unsigned i = 0; i < element->actions.size(); ++i) {
        CCAction* action = element->actions[i];
        if (action->tag() == tag && action->originalTarget() == target) {
            removeActionAtIndex(i, element);
            return;
        }
    }
}

CCAction* CCActionManager::getActionByTag(int tag, CCNode* target) {
    CCAssert(tag != kCCNodeTagInvalid, "Invalid tag");
    hashElement* element = find(target);
    if (!element) return nullptr;
    for (CCAction* action : element->actions)
        if (action->tag() == tag) return action;
    return nullptr;
}

unsigned CCActionManager::numberOfRunningActionsInTarget(CCNode* target) {
    hashElement* element = find(target);
    return element ? element->actions.size() : 0;
}

void CCActionManager::pauseTarget(CCNode* target) {
    if (hashElement* element = find(target)) element->paused = true;
}

void CCActionManager::resumeTarget(CCNode* target) {
    if (hashElement* element = find(target)) element->paused = false;
}

unsigned CCActionManager::afterStep(CCAction* action, hashElement* element) {
    // Removed during its own step, or by its stop: the array no longer holds it, only the
    // reference kept for it does.
    bool removed = currentActionSalvaged_;
    if (!removed && action->isDone()) {
        action->stop();
        removed = currentActionSalvaged_;
        if (!removed) {
            currentAction_ = nullptr;
            removeFinishedAction(action, element);
        }
    }
    currentAction_ = nullptr;
    if (removed) {
        currentActionSalvaged_ = false;
        action->release();
    }
    return actionIndex_;
}

void CCActionManager::stepActions(hashElement* element, ccTime dt, unsigned first) {
    CCAction** actions = element->actions.begin();
    unsigned count = element->actions.size();
    unsigned changes = actionsChanged_;
    for (unsigned i = first; i < count; i++) {
        CCAction* action = actions[i];
        currentAction_ = action;
        actionIndex_ = i;
        action->step(dt);
        if (actionsChanged_ == changes && !action->isDone()) continue;
        // The step changed the actions, or the action is done. The array may have moved; the
        // count is read again, so that actions added during the pass run in it.
        i = afterStep(action, element);
        changes = actionsChanged_;
        actions = element->actions.begin();
        count = element->actions.size();
    }
}

void CCActionManager::leaveTarget(hashElement* element) {
    if (CCAction* action = std::exchange(currentAction_, nullptr)) {
        if (std::exchange(currentActionSalvaged_, false)) action->release();
    }
    currentTarget = nullptr;
    if (std::exchange(currentTargetSalvaged, false) && element->actions.empty()) deleteHashElement(element);
}

hashElement* CCActionManager::dropSalvagedTarget(hashElement* element) {
    CCTableWalk<hashElement> walk(walks_, ccTableNext(element));
    leaveTarget(element);
    return walk.next;
}

hashElement* CCActionManager::leaveTargetGoingOn(hashElement* element) {
    if (currentTargetSalvaged) return dropSalvagedTarget(element);
    // Every step has returned, so no action is held for a removal during its step.
    currentAction_ = nullptr;
    currentTarget = nullptr;
    return ccTableNext(element);
}

hashElement* CCActionManager::stepAll(ccTime dt) {
    const unsigned changes = actionsChanged_;
    for (hashElement* element = targets; element; element = ccTableNext(element)) {
        if (element->paused) continue;
        // Stays current until the next one: no step runs in between.
        currentTarget = element;
        // Until a step changes the actions, which ends this loop, the array stays where it is.
        CCAction** actions = element->actions.begin();
        for (unsigned i = 0; i < element->actions.size(); i++) {
            CCAction* action = actions[i];
            currentAction_ = action;
            actionIndex_ = i;
            action->step(dt);
            if (actionsChanged_ != changes || action->isDone()) {
                // The rest of this target and the pass look for changes after every step.
                stepActions(element, dt, afterStep(action, element) + 1);
                return leaveTargetGoingOn(element);
            }
        }
    }
    currentAction_ = nullptr;
    currentTarget = nullptr;
    return nullptr;
}

void CCActionManager::stepAllWithChanges(hashElement* element, ccTime dt) {
    while (element) {
        if (element->paused) {
            element = ccTableNext(element);
            continue;
        }
        currentTarget = element;
        stepActions(element, dt, 0);
        element = leaveTargetGoingOn(element);
    }
}

void CCActionManager::update(ccTime dt) {
    try {
        stepAllWithChanges(stepAll(dt), dt);
    } catch (...) {
        // The target's bookkeeping is finished also when one of its actions throws.
        if (currentTarget) leaveTarget(currentTarget);
        throw;
    }
}
