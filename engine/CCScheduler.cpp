#include "CCScheduler.h"

#include <utlist.h>

#include <utility>
#include <vector>

#include "CCScopeGuard.h"
#include "ccMacros.h"

namespace {
CCScheduler* gSharedScheduler = nullptr;
constexpr std::size_t kUsualUpdates = 64;
}

CCScheduler* CCScheduler::sharedScheduler() {
    if (!gSharedScheduler) {
        gSharedScheduler = new CCScheduler;
        gSharedScheduler->init();
    }
    return gSharedScheduler;
}

void CCScheduler::purgeSharedScheduler() {
    if (CCScheduler* scheduler = gSharedScheduler) {
        gSharedScheduler = nullptr;
        scheduler->release();
    }
}

CCScheduler::CCScheduler() {
    CCAssertSingleton(gSharedScheduler);
    // Room for a game's usual number of updates, so that the first frames that add or drop
    // some do not allocate.
    purgeScratch_.reserve(kUsualUpdates);
    for (CCWalkOrder<updateWalkRecord>& order : updateOrders_) order.reserve(kUsualUpdates);
}

CCScheduler::~CCScheduler() {
    unscheduleAllSelectors();
    if (gSharedScheduler == this) gSharedScheduler = nullptr;
}

bool CCScheduler::init() {
    timeScale_ = 1.0f;
    return true;
}

// ---- per-frame updates ----

void CCScheduler::addUpdateHashEntry(listEntry** list, listEntry* entry, CCObject* target) {
    hashUpdateEntry* element = updateEntries_.make();
    element->list = list;
    element->entry = entry;
    element->target = target;
    HASH_ADD_PTR(hashForUpdates, target, element);
}

void CCScheduler::priorityIn(listEntry** list, CCObject* target, int priority, bool paused) {
    listEntry* entry = listEntries_.make();
    entry->target = target;
    entry->priority = priority;
    entry->paused = paused;
    target->retain();

    listEntry* before = nullptr;
    for (listEntry* e = *list; e; e = e->next) {
        if (priority < e->priority) {
            before = e;
            break;
        }
    }
    if (!before) {
        DL_APPEND(*list, entry);
    } else if (before == *list) {
        DL_PREPEND(*list, entry);
    } else {
        DL_PREPEND_ELEM(*list, before, entry);
    }
    orderOf(list).changed();
    addUpdateHashEntry(list, entry, target);
}

void CCScheduler::appendIn(listEntry** list, CCObject* target, bool paused) {
    listEntry* entry = listEntries_.make();
    entry->target = target;
    entry->paused = paused;
    target->retain();
    DL_APPEND(*list, entry);
    orderOf(list).changed();
    addUpdateHashEntry(list, entry, target);
}

void CCScheduler::scheduleUpdateForTarget(CCObject* target, int priority, bool paused) {
    CCAssert(target != nullptr, "Argument target must be non-nil");
    hashUpdateEntry* existing = nullptr;
    HASH_FIND_PTR(hashForUpdates, &target, existing);
    if (existing) {
        // A second list entry for one target would be unreachable through the table and
        // could be freed under a walk; the first registration stays as it is.
        CCLog("CCScheduler: target is already scheduled for updates; the new registration is ignored");
        return;
    }
    if (priority == 0) {
        appendIn(&updates0, target, paused);
    } else if (priority < 0) {
        priorityIn(&updatesNeg, target, priority, paused);
    } else {
        priorityIn(&updatesPos, target, priority, paused);
    }
}

void CCScheduler::removeUpdateEntry(listEntry** list, listEntry* entry) {
    CCObject* target = entry->target;
    DL_DELETE(*list, entry);
    orderOf(list).changed();
    listEntries_.free(entry);
    // Last: the target's destructor may come back to the scheduler.
    target->release();
}

void CCScheduler::unscheduleUpdateForTarget(CCObject* target) {
    if (!target) return;
    hashUpdateEntry* element = nullptr;
    HASH_FIND_PTR(hashForUpdates, &target, element);
    if (!element) return;
    listEntry** list = element->list;
    listEntry* entry = element->entry;
    HASH_DEL(hashForUpdates, element);
    updateEntries_.free(element);
    if (updateWalkDepth_ > 0) {
        // The walk may hold this entry as its next one: free it when the walk is over.
        entry->markedForDeletion = true;
        orderOf(list).changed();
        updateEntriesDeleted_ = true;
    } else {
        removeUpdateEntry(list, entry);
    }
}

CCWalkOrder<updateWalkRecord>& CCScheduler::orderOf(listEntry** list) {
    return updateOrders_[list == &updatesNeg ? 0 : list == &updates0 ? 1 : 2];
}

void CCScheduler::walkUpdatesByLinks(listEntry* entry, ccTime dt) {
    while (entry) {
        listEntry* next = entry->next;
        if (!entry->paused && !entry->markedForDeletion) entry->target->update(dt);
        entry = next;
    }
}

void CCScheduler::walkUpdates(listEntry** list, ccTime dt) {
    CCWalkOrder<updateWalkRecord>& order = orderOf(list);
    const std::vector<updateWalkRecord>& records = order.records([list](std::vector<updateWalkRecord>& out) {
        for (listEntry* e = *list; e; e = e->next)
            if (!e->paused && !e->markedForDeletion) out.push_back(updateWalkRecord{e->target, e->next});
    });
    const std::uint64_t version = order.version();
    for (std::size_t i = 0; i < records.size(); i++) {
        // Taken before the call, as a walk by the links does: an entry linked in right after
        // this one during the call waits for the next tick.
        listEntry* next = records[i].next;
        records[i].target->update(dt);
        if (order.version() != version) return walkUpdatesByLinks(next, dt);
    }
}

void CCScheduler::purgeDeletedUpdates() {
    if (!updateEntriesDeleted_ || updateWalkDepth_ > 0) return;
    updateEntriesDeleted_ = false;
    // Taken out while in use: a target's release may unschedule, and purge, again.
    std::vector<CCObject*> released;
    released.swap(purgeScratch_);
    for (listEntry** list : {&updatesNeg, &updates0, &updatesPos}) {
        for (listEntry* entry = *list; entry;) {
            listEntry* next = entry->next;
            if (entry->markedForDeletion) {
                released.push_back(entry->target);
                DL_DELETE(*list, entry);
                orderOf(list).changed();
                listEntries_.free(entry);
            }
            entry = next;
        }
    }
    for (CCObject* target : released) target->release();
    released.clear();
    if (released.capacity() > purgeScratch_.capacity()) released.swap(purgeScratch_);
}

// ---- selector timers ----

void CCScheduler::scheduleSelector(SEL_SCHEDULE selector, CCObject* target, ccTime interval, bool paused) {
    CCAssert(bool(selector), "Argument selector must be non-nil");
    CCAssert(target != nullptr, "Argument target must be non-nil");

    hashSelectorEntry* element = nullptr;
    HASH_FIND_PTR(hashForSelectors, &target, element);
    if (!element) {
        element = selectorEntries_.make();
        element->target = target;
        element->paused = paused;
        target->retain();
        HASH_ADD_PTR(hashForSelectors, target, element);
        ++timersChanged_;
    } else {
        CCAssert(element->paused == paused,
                 "CCScheduler. Trying to schedule a selector with a pause value different than the target");
        for (selectorTimer& timer : element->timers) {
            if (timer.method == selector.method) {
                timer.clock.interval = interval;
                return;
            }
        }
    }
    element->timers.push_back(selectorTimer{selector.method, CCTimerClock{-1, interval}});
    if (element == currentTarget) ++timersChanged_;
}

void CCScheduler::removeHashElement(hashSelectorEntry* element) {
    CCObject* target = element->target;
    CCTableWalk<hashSelectorEntry>::dropping(selectorWalks_, element);
    HASH_DEL(hashForSelectors, element);
    ++timersChanged_;
    selectorEntries_.free(element);
    target->release();
}

void CCScheduler::unscheduleSelector(SEL_SCHEDULE selector, CCObject* target) {
    if (!target && !selector) return;
    CCAssert(target != nullptr, "Target MUST not be nil");
    CCAssert(bool(selector), "Selector MUST not be NULL");

    hashSelectorEntry* element = nullptr;
    HASH_FIND_PTR(hashForSelectors, &target, element);
    if (!element) return;
    for (unsigned i = 0; i < element->timers.size(); i++) {
        if (element->timers[i].method != selector.method) continue;
        if (element == currentTarget) {
            // While not salvaged, the timer being called is the one at timerIndex_.
            if (!currentTimerSalvaged_ && i == timerIndex_) currentTimerSalvaged_ = true;
            // The tick's increment then lands on the timer that followed. Wraps at 0 on purpose.
            if (timerIndex_ >= i) timerIndex_--;
            ++timersChanged_;
        }
        element->timers.erase(i);
        if (element->timers.empty()) {
            if (currentTarget == element) {
                currentTargetSalvaged = true;
            } else {
                removeHashElement(element);
            }
        }
        return;
    }
}

void CCScheduler::unscheduleAllSelectorsForTarget(CCObject* target) {
    if (!target) return;
    hashSelectorEntry* element = nullptr;
    HASH_FIND_PTR(hashForSelectors, &target, element);
    if (element) {
        element->timers.clear();
        if (currentTarget == element) {
            currentTimerSalvaged_ = true;
            ++timersChanged_;
            currentTargetSalvaged = true;
        } else {
            removeHashElement(element);
        }
    }
    unscheduleUpdateForTarget(target);
}

void CCScheduler::unscheduleAllSelectors() {
    {
        // A released target's destructor may drop the entry this walk goes to next.
        CCTableWalk<hashSelectorEntry> walk(selectorWalks_, hashForSelectors);
        while (hashSelectorEntry* element = walk.next) {
            walk.next = ccTableNext(element);
            unscheduleAllSelectorsForTarget(element->target);
        }
    }
    // Entries are only marked during these walks, so releasing a target cannot free
    // the entry the walk goes to next.
    {
        ++updateWalkDepth_;
        CCScopeGuard walk([this] { --updateWalkDepth_; });
        for (listEntry* list : {updates0, updatesNeg, updatesPos}) {
            for (listEntry* entry = list; entry; entry = entry->next) {
                if (!entry->markedForDeletion) unscheduleUpdateForTarget(entry->target);
            }
        }
    }
    purgeDeletedUpdates();
}

// ---- pausing ----

void CCScheduler::pauseTarget(CCObject* target) {
    CCAssert(target != nullptr, "target must be non nil");
    hashSelectorEntry* element = nullptr;
    HASH_FIND_PTR(hashForSelectors, &target, element);
    if (element) element->paused = true;
    hashUpdateEntry* update = nullptr;
    HASH_FIND_PTR(hashForUpdates, &target, update);
    if (update) {
        CCAssert(update->entry != nullptr, "pauseTarget: unknown error");
        update->entry->paused = true;
        orderOf(update->list).changed();
    }
}

void CCScheduler::resumeTarget(CCObject* target) {
    CCAssert(target != nullptr, "target must be non nil");
    hashSelectorEntry* element = nullptr;
    HASH_FIND_PTR(hashForSelectors, &target, element);
    if (element) element->paused = false;
    hashUpdateEntry* update = nullptr;
    HASH_FIND_PTR(hashForUpdates, &target, update);
    if (update) {
        CCAssert(update->entry != nullptr, "resumeTarget: unknown error");
        update->entry->paused = false;
        orderOf(update->list).changed();
    }
}

// ---- the tick ----

void CCScheduler::leaveTarget(hashSelectorEntry* element) {
    currentTimerSalvaged_ = false;
    currentTarget = nullptr;
    if (std::exchange(currentTargetSalvaged, false) && element->timers.empty()) removeHashElement(element);
}

hashSelectorEntry* CCScheduler::dropSalvagedTarget(hashSelectorEntry* element) {
    CCTableWalk<hashSelectorEntry> walk(selectorWalks_, ccTableNext(element));
    leaveTarget(element);
    return walk.next;
}

void CCScheduler::runTimers(hashSelectorEntry* element, ccTime dt, unsigned first) {
    selectorTimer* timers = element->timers.begin();
    unsigned count = element->timers.size();
    unsigned changes = timersChanged_;
    for (unsigned i = first; i < count; i++) {
        selectorTimer& timer = timers[i];
        if (!timer.clock.advance(dt)) continue;
        timerIndex_ = i;
        (element->target->*timer.method)(timer.clock.elapsed);
        if (timersChanged_ == changes) {
            timer.clock.reset();
            continue;
        }
        // The call changed the timers: this target's array may have moved and this timer moved
        // down or gone. Its index was kept on it, and the count is read again so that timers
        // added during the tick run in it.
        changes = timersChanged_;
        timers = element->timers.begin();
        count = element->timers.size();
        i = timerIndex_;
        finishCall(element, i);
    }
}

void CCScheduler::finishCall(hashSelectorEntry* element, unsigned i) {
    if (currentTimerSalvaged_) {
        currentTimerSalvaged_ = false;
    } else {
        element->timers[i].clock.reset();
    }
}

hashSelectorEntry* CCScheduler::leaveTargetGoingOn(hashSelectorEntry* element) {
    if (currentTargetSalvaged) return dropSalvagedTarget(element);
    currentTarget = nullptr;
    return ccTableNext(element);
}

hashSelectorEntry* CCScheduler::walkTimers(ccTime dt) {
    const unsigned changes = timersChanged_;
    for (hashSelectorEntry* element = hashForSelectors; element; element = ccTableNext(element)) {
        if (element->paused) continue;
        // Stays current until the next one: no call runs in between.
        currentTarget = element;
        // Until a call changes the timers, which ends this loop, the array stays where it is.
        selectorTimer* timer = element->timers.begin();
        for (unsigned i = 0; i < element->timers.size(); i++, timer++) {
            if (!timer->clock.advance(dt)) continue;
            timerIndex_ = i;
            (element->target->*timer->method)(timer->clock.elapsed);
            if (timersChanged_ != changes) {
                // The rest of this target and the walk look for changes after every call.
                finishCall(element, timerIndex_);
                runTimers(element, dt, timerIndex_ + 1);
                return leaveTargetGoingOn(element);
            }
            timer->clock.reset();
        }
    }
    currentTarget = nullptr;
    return nullptr;
}

void CCScheduler::walkTimersWithChanges(hashSelectorEntry* element, ccTime dt) {
    while (element) {
        if (element->paused) {
            element = ccTableNext(element);
            continue;
        }
        currentTarget = element;
        runTimers(element, dt, 0);
        element = leaveTargetGoingOn(element);
    }
}

void CCScheduler::tick(ccTime dt) {
    if (timeScale_ != 1.0f) dt *= timeScale_;

    {
        // Restored however the walk ends: an update that throws must not leave every later
        // removal deferred.
        ++updateWalkDepth_;
        CCScopeGuard walk([this] { --updateWalkDepth_; });
        walkUpdates(&updatesNeg, dt);
        walkUpdates(&updates0, dt);
        walkUpdates(&updatesPos, dt);
    }
    purgeDeletedUpdates();

    try {
        walkTimersWithChanges(walkTimers(dt), dt);
    } catch (...) {
        // The target's bookkeeping is finished also when one of its timers throws.
        if (currentTarget) leaveTarget(currentTarget);
        throw;
    }
}

// ---- unsupported ----

void CCScheduler::scheduleTimer(CCTimer*) { CCAssert(false, "Not implemented. Use scheduleSelector:forTarget:"); }
void CCScheduler::unscheduleTimer(CCTimer*) { CCAssert(false, "Not implemented. Use unscheduleSelector:forTarget:"); }
void CCScheduler::unscheduleAllTimers() { CCAssert(false, "Not implemented. Use unscheduleAllSelectors"); }
