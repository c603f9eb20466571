#include "CCActionManager.h"

#include "CCAction.h"
#include "CCAssert.h"
#include "CCNode.h"
#include "CCScopeGuard.h"
#include "ccHashWalk.h"
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
    HASH_DEL(targets, element);
    elements_.free(element);
    target->release();
}

void CCActionManager::removeActionAtIndex(unsigned index, hashElement* element) {
    CCAction* action = element->actions[index];
    if (action == element->currentAction && !element->currentActionSalvaged) {
        element->currentAction->retain();
        element->currentActionSalvaged = true;
    }
    element->actions.erase(index);
    // Released once the array is consistent: its destructor may look at it.
    action->release();
    // Keeps the pass on the next action: no skip, no double step. Wraps at 0 on purpose.
    if (element->actionIndex >= index) element->actionIndex--;
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
    }
    CCAssert(indexOf(element, action) == CC_INVALID_INDEX, "runAction: Action already running");
    element->actions.push_back(action);
    action->retain();
    action->startWithTarget(target);
}

void CCActionManager::removeAllActions() {
    for (hashElement* element = targets; element;) {
        auto* next = static_cast<hashElement*>(element->hh.next);
        removeAllActionsFromTarget(element->target);
        element = next;
    }
}

void CCActionManager::removeAllActionsFromTarget(CCNode* target) {
    if (!target) return;
    hashElement* element = find(target);
    if (!element) return;
    if (element->currentAction && !element->currentActionSalvaged &&
        indexOf(element, element->currentAction) != CC_INVALID_INDEX) {
        element->currentAction->retain();
        element->currentActionSalvaged = true;
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
    if (element->actionIndex < element->actions.size() && element->actions[element->actionIndex] == action &&
        action->originalTarget() == element->target) {
        removeActionAtIndex(element->actionIndex, element);
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

void CCActionManager::update(ccTime dt) {
    for (hashElement* element = targets; element;) {
        currentTarget = element;
        currentTargetSalvaged = false;
        hashElement* next = nullptr;
        {
            // The element's bookkeeping is finished on every exit, also when an action throws.
            CCScopeGuard leave([&] {
                if (CCAction* action = element->currentAction) {
                    element->currentAction = nullptr;
                    if (element->currentActionSalvaged) action->release();
                }
                next = static_cast<hashElement*>(element->hh.next);
                if (currentTargetSalvaged && element->actions.empty()) deleteHashElement(element);
                currentTarget = nullptr;
            });
            ccPrefetchHashWalk(element);
            if (!element->paused) {
                // The count is re-read each time: actions added during the pass run in it.
                for (element->actionIndex = 0; element->actionIndex < element->actions.size();
                     element->actionIndex++) {
                    CCAction* action = element->actions[element->actionIndex];
                    element->currentAction = action;
                    element->currentActionSalvaged = false;
                    action->step(dt);
                    if (element->currentActionSalvaged) {
                        // Removed during its own step; this drops the reference kept for it.
                        element->currentAction = nullptr;
                        action->release();
                    } else if (action->isDone()) {
                        action->stop();
                        if (element->currentActionSalvaged) {
                            // Its stop removed it already.
                            element->currentAction = nullptr;
                            action->release();
                        } else {
                            element->currentAction = nullptr;
                            removeFinishedAction(action, element);
                        }
                    }
                    element->currentAction = nullptr;
                }
            }
        }
        element = next;
    }
}
