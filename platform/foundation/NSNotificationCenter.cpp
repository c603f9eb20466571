#include "NSNotificationCenter.h"

#include <algorithm>

#include "NSNotification.h"

NSNotificationCenter* NSNotificationCenter::defaultCenter() {
    static NSNotificationCenter* center = new NSNotificationCenter; // lives for the whole process
    return center;
}

void NSNotificationCenter::addObserver(CCObject* observer, SEL_NOTIFICATION selector, const std::string& name,
                                       CCObject* object) {
    if (!observer || !selector) return;
    std::lock_guard lock(mutex_);
    registrations_.push_back(std::make_shared<Registration>(Registration{observer, selector, name, object}));
}

void NSNotificationCenter::removeMatching(CCObject* observer, const std::string* name, CCObject* object) {
    std::lock_guard lock(mutex_);
    auto matches = [&](const std::shared_ptr<Registration>& r) {
        if (r->observer != observer) return false;
        if (name && !name->empty() && r->name != *name) return false;
        if (object && r->object != object) return false;
        r->removed = true;
        return true;
    };
    registrations_.erase(std::remove_if(registrations_.begin(), registrations_.end(), matches), registrations_.end());
}

void NSNotificationCenter::removeObserver(CCObject* observer) { removeMatching(observer, nullptr, nullptr); }

void NSNotificationCenter::removeObserver(CCObject* observer, const std::string& name, CCObject* object) {
    removeMatching(observer, &name, object);
}

void NSNotificationCenter::postNotification(NSNotification* notification) {
    if (!notification) return;
    // Keep the notification alive through the calls even if an observer drops the last reference.
    CCPtr<NSNotification> keep(notification);
    std::vector<std::shared_ptr<Registration>> targets;
    {
        std::lock_guard lock(mutex_);
        for (auto& r : registrations_)
            if ((r->name.empty() || r->name == notification->name()) && (!r->object || r->object == notification->object()))
                targets.push_back(r);
    }
    for (auto& r : targets) {
        {
            std::lock_guard lock(mutex_);
            if (r->removed) continue;
        }
        r->selector(r->observer, notification);
    }
}

void NSNotificationCenter::postNotificationName(const std::string& name, CCObject* object) {
    // Owned here rather than autoreleased: posting works on threads without a pool.
    auto notification = CCPtr<NSNotification>::adopt(
        ccNew<NSNotification>([&](NSNotification* n) { return n->initWithName(name, object); }));
    postNotification(notification);
}

std::size_t NSNotificationCenter::observerCount() const {
    std::lock_guard lock(mutex_);
    return registrations_.size();
}
