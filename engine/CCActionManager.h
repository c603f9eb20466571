#pragma once
// The single owner of every running action. Once a frame the scheduler calls update(dt):
// every action of every unpaused target is stepped, and those that report done are stopped
// and removed. Actions may add or remove actions of any target while being stepped.
#include <uthash.h>

#include "CCInlineArray.h"
#include "CCObject.h"
#include "CCPool.h"
#include "CCTableWalk.h"
#include "ccTypes.h"

class CCAction;
class CCNode;

// One per target that has (or had during the current pass) at least one action. What a pass
// reads is in the first two cache lines.
struct alignas(64) hashElement {
    UT_hash_handle hh;
    bool paused = false;
    // In order of addition; holds a reference to each. Room for 4 in place, doubling past them.
    CCInlineArray<CCAction*, 4> actions;
    CCNode* target = nullptr; // the hash key (the full address); retained
};

class CCActionManager : public CCObject {
public:
    static CCActionManager* sharedManager();
    // Unschedules and destroys the shared manager; the next sharedManager() makes a new one.
    static void purgeSharedManager();

    // There is one manager: constructing a second while one exists is a failure.
    CCActionManager();
    ~CCActionManager() override;
    // Registers with the shared scheduler for a per-frame update at priority 0.
    bool init();

    // Starts the action on the target. `paused` only applies to a target without actions.
    void addAction(CCAction* action, CCNode* target, bool paused);
    void removeAllActions();
    void removeAllActionsFromTarget(CCNode* target);
    void removeAction(CCAction* action);
    // The first action with the tag whose original target is this target.
    void removeActionByTag(int tag, CCNode* target);
    CCAction* getActionByTag(int tag, CCNode* target);
    unsigned numberOfRunningActionsInTarget(CCNode* target);

    // Nothing happens for a target without actions (nothing is remembered for later).
    void pauseTarget(CCNode* target);
    void resumeTarget(CCNode* target);
    void pauseAllActionsForTarget(CCNode* target) { pauseTarget(target); }
    void resumeAllActionsForTarget(CCNode* target) { resumeTarget(target); }

    // One pass over every target; called by the scheduler.
    void update(ccTime dt) override;

private:
    hashElement* find(CCNode* target) const;
    static unsigned indexOf(const hashElement* element, const CCAction* action);
    void removeActionAtIndex(unsigned index, hashElement* element);
    // Removes an action of the element the pass is on that has just finished.
    void removeFinishedAction(CCAction* action, hashElement* element);
    void deleteHashElement(hashElement* element);
    // Every target's actions, on the assumption that no step changes any array or finishes
    // its action; after one that does, returns the element from which stepAllWithChanges
    // goes on.
    hashElement* stepAll(ccTime dt);
    void stepAllWithChanges(hashElement* element, ccTime dt);
    // Steps the current target's actions from the given one on.
    void stepActions(hashElement* element, ccTime dt, unsigned first);
    // After a step that changed the element's actions or finished its action: drops or
    // removes the action as needed and gives the index the pass goes on from.
    unsigned afterStep(CCAction* action, hashElement* element);
    // Ends the pass's stay on the element: drops a salvaged action, deletes the element if a
    // step emptied it.
    void leaveTarget(hashElement* element);
    // leaveTarget for an element a step emptied; gives the element after it, also when letting
    // go of the target drops that one.
    hashElement* dropSalvagedTarget(hashElement* element);
    // Leaves the current target and gives the element after it.
    hashElement* leaveTargetGoingOn(hashElement* element);

    hashElement* targets = nullptr;
    // The element whose actions the pass is stepping; none outside the pass over it.
    hashElement* currentTarget = nullptr;
    bool currentTargetSalvaged = false;
    // currentTarget's action being stepped (or stopped), its index, which removals before it
    // keep pointing at it, and whether it was removed meanwhile (one extra reference then
    // keeps it alive until its step returns).
    CCAction* currentAction_ = nullptr;
    unsigned actionIndex_ = 0;
    bool currentActionSalvaged_ = false;
    // Counts changes to the table's elements and to currentTarget's action array: after a step
    // that changed them, the pass finds its place again; after any other it goes straight on.
    unsigned actionsChanged_ = 0;
    // The walks by links in progress, innermost first.
    CCTableWalk<hashElement>* walks_ = nullptr;
    // Every element lives here, next to the ones made before and after it.
    CCPool<hashElement> elements_;
};
