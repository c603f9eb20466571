#include "NSNotificationCenter.h"

#include <algorithm>

NSNotification* NSNotification::notificationWithName(const std::string& name, CCObject* object) {
    auto* n = new NSNotification;
    n->name_ = name;
    n->object_ = object;
    return ccAutorelease(n);
}

NSNotificationCenter* NSNotificationCenter::defaultCenter() {
    static NSNotificationCenter* center = new NSNotificationCenter;
    return center;
}

void NSNotificationCenter::addObserver(CCObject* observer, SEL_NOTIFICATION selector, const std::string& name,
                                       CCObject* object) {
    if (!observer || !selector) return;
    entries_.push_back({observer, selector, name, object});
}

void NSNotificationCenter::removeObserver(CCObject* observer) { removeObserver(observer, {}, nullptr); }

void NSNotificationCenter::removeObserver(CCObject* observer, const std::string& name, CCObject* object) {
    for (Entry& e : entries_)
        if (e.observer == observer && (name.empty() || e.name == name) && (!object || e.object == object))
            e.removed = true;
    if (posting_ == 0) std::erase_if(entries_, [](const Entry& e) { return e.removed; });
}

void NSNotificationCenter::postNotification(NSNotification* notification) {
    if (!notification) return;
    CCPtr<NSNotification> keep(notification);
    ++posting_;
    // Observers added while posting hear the next post; those removed meanwhile are skipped.
    const std::size_t count = entries_.size();
    for (std::size_t i = 0; i < count; ++i) {
        Entry e = entries_[i];
        if (e.removed || (!e.name.empty() && e.name != notification->name()) ||
            (e.object && e.object != notification->object()))
            continue;
        e.selector(e.observer, notification);
    }
    if (--posting_ == 0) std::erase_if(entries_, [](const Entry& e) { return e.removed; });
}

void NSNotificationCenter::postNotificationName(const std::string& name, CCObject* object) {
    postNotification(NSNotification::notificationWithName(name, object));
}
