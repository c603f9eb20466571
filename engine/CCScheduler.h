#pragma once
// The process-wide clock distributor. Each tick runs the per-frame updates by priority
// (negative, zero, positive), then every selector timer, target by target in the order
// the targets were first scheduled.
#include <uthash.h>

#include <vector>

#include "CCInlineArray.h"
#include "CCObject.h"
#include "CCPool.h"
#include "CCSelector.h"
#include "CCTableWalk.h"
#include "CCTimerClock.h"
#include "CCWalkOrder.h"
#include "ccTypes.h"

class CCTimer;

// A per-frame update registration in one of the three priority lists. The head's `prev`
// points at the tail.
struct listEntry {
    listEntry* prev = nullptr;
    listEntry* next = nullptr;
    // Retained while the entry is registered; called through its virtual update().
    CCObject* target = nullptr;
    int priority = 0;
    bool paused = false;
    // Unscheduled during a walk of the lists: skipped, and freed once the walk ends.
    bool markedForDeletion = false;
};

// What the tick's walk needs of an update entry that is neither paused nor unscheduled.
struct updateWalkRecord {
    CCObject* target;
    // The entry's link when the record was made: where a walk by the links goes on from.
    listEntry* next;
};

// Finds a target's update entry.
struct hashUpdateEntry {
    listEntry** list = nullptr;
    listEntry* entry = nullptr;
    CCObject* target = nullptr; // the hash key; retained by the list entry
    UT_hash_handle hh;
};

// One selector timer of a target (the entry's): the method called and its timing.
struct selectorTimer {
    SEL_SCHEDULE::Method method = nullptr;
    CCTimerClock clock;
};

// A target's selector timers, in the order they were scheduled. What a tick reads is in the
// first two cache lines.
struct alignas(64) hashSelectorEntry {
    UT_hash_handle hh;
    bool paused = false;
    CCObject* target = nullptr; // the hash key; retained
    CCInlineArray<selectorTimer, 1> timers;
};

class CCScheduler : public CCObject {
public:
    static CCScheduler* sharedScheduler();
    // Destroys the shared scheduler (releasing every scheduled target); the next
    // sharedScheduler() makes a fresh one.
    static void purgeSharedScheduler();

    // There is one scheduler: constructing a second while one exists is a failure.
    CCScheduler();
    ~CCScheduler() override;
    bool init();

    ccTime timeScale() const { return timeScale_; }
    void setTimeScale(ccTime scale) { timeScale_ = scale; }

    void tick(ccTime dt);

    // Rescheduling a selector the target already has only changes its interval.
    void scheduleSelector(SEL_SCHEDULE selector, CCObject* target, ccTime interval, bool paused);
    void unscheduleSelector(SEL_SCHEDULE selector, CCObject* target);
    // All timers of the target and its per-frame update.
    void unscheduleAllSelectorsForTarget(CCObject* target);

    // Calls target->update(dt) every tick; lower priorities first, equal ones in
    // registration order.
    void scheduleUpdateForTarget(CCObject* target, int priority, bool paused);
    void unscheduleUpdateForTarget(CCObject* target);

    // Every timer and every per-frame update of every target.
    void unscheduleAllSelectors();

    void pauseTarget(CCObject* target);
    void resumeTarget(CCObject* target);

    // Unsupported: timers are made by scheduleSelector.
    void scheduleTimer(CCTimer* timer);
    void unscheduleTimer(CCTimer* timer);
    void unscheduleAllTimers();

private:
    void priorityIn(listEntry** list, CCObject* target, int priority, bool paused);
    void appendIn(listEntry** list, CCObject* target, bool paused);
    void addUpdateHashEntry(listEntry** list, listEntry* entry, CCObject* target);
    CCWalkOrder<updateWalkRecord>& orderOf(listEntry** list);
    void walkUpdates(listEntry** list, ccTime dt);
    static void walkUpdatesByLinks(listEntry* entry, ccTime dt);
    void removeUpdateEntry(listEntry** list, listEntry* entry);
    void purgeDeletedUpdates();
    void removeHashElement(hashSelectorEntry* element);
    // Every target's timers, on the assumption that no call changes any; after one that does,
    // returns the entry from which walkTimersWithChanges goes on.
    hashSelectorEntry* walkTimers(ccTime dt);
    void walkTimersWithChanges(hashSelectorEntry* element, ccTime dt);
    // Runs the current target's due timers from the given one on.
    void runTimers(hashSelectorEntry* element, ccTime dt, unsigned first);
    // After a call that changed the timers: resets the called timer's clock unless it is gone.
    void finishCall(hashSelectorEntry* element, unsigned i);
    // Leaves the current target and gives the entry after it.
    hashSelectorEntry* leaveTargetGoingOn(hashSelectorEntry* element);
    // Ends the tick's stay on the element: deletes it if a call emptied it.
    void leaveTarget(hashSelectorEntry* element);
    // leaveTarget for an element a call emptied or dropped; gives the entry after it, also
    // when letting go of the element's target drops that one.
    hashSelectorEntry* dropSalvagedTarget(hashSelectorEntry* element);

    ccTime timeScale_ = 1.0f;
    listEntry* updatesNeg = nullptr;
    listEntry* updates0 = nullptr;
    listEntry* updatesPos = nullptr;
    hashUpdateEntry* hashForUpdates = nullptr;
    hashSelectorEntry* hashForSelectors = nullptr;
    // The entry whose timers the tick is calling; none outside the tick's pass over it.
    hashSelectorEntry* currentTarget = nullptr;
    bool currentTargetSalvaged = false;
    // currentTarget's timer being called: its index, which removals before it keep pointing at
    // it, and whether it was unscheduled during its call (it is then not touched again).
    unsigned timerIndex_ = 0;
    bool currentTimerSalvaged_ = false;
    // Counts changes to the selector table's entries and to currentTarget's timer array: after
    // a call that changed them, the tick finds its place again; after any other call it goes
    // straight on.
    unsigned timersChanged_ = 0;
    // Non-zero while the update lists are being walked: removals are deferred to the walk's end.
    unsigned updateWalkDepth_ = 0;
    bool updateEntriesDeleted_ = false;
    // Every entry lives in one of these, next to the ones registered before and after it.
    CCPool<listEntry> listEntries_;
    CCPool<hashUpdateEntry> updateEntries_;
    CCPool<hashSelectorEntry> selectorEntries_;
    // The walks by links in progress, innermost first.
    CCTableWalk<hashSelectorEntry>* selectorWalks_ = nullptr;
    // The three update lists' unpaused, registered entries as arrays, for the tick's walk.
    CCWalkOrder<updateWalkRecord> updateOrders_[3];
    // The targets a purge lets go of, kept between purges so that one does not allocate.
    std::vector<CCObject*> purgeScratch_;
};
