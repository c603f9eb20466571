#pragma once
// Notifications by name: observers register a method for a name (and optionally a sender),
// posting calls every matching observer at once, on the posting thread. Observers are not
// retained; they remove themselves before they go away.
#include <string>
#include <vector>

#include "CCObject.h"
#include "CCPtr.h"
#include "CCSelector.h"

class NSNotification : public CCObject {
public:
    static NSNotification* notificationWithName(const std::string& name, CCObject* object);
    const std::string& name() const { return name_; }
    CCObject* object() const { return object_; }

private:
    std::string name_;
    CCPtr<CCObject> object_;
};

using SEL_NOTIFICATION = CCSelector<void(NSNotification*)>;
#define notification_selector(M) ::ccSelector<void(NSNotification*)>(&M, #M)

class NSNotificationCenter : public CCObject {
public:
    static NSNotificationCenter* defaultCenter();

    // An empty name matches every name; a null object every sender.
    void addObserver(CCObject* observer, SEL_NOTIFICATION selector, const std::string& name, CCObject* object);
    void removeObserver(CCObject* observer);
    void removeObserver(CCObject* observer, const std::string& name, CCObject* object);

    void postNotification(NSNotification* notification);
    void postNotificationName(const std::string& name, CCObject* object);

private:
    struct Entry {
        CCObject* observer;
        SEL_NOTIFICATION selector;
        std::string name;
        CCObject* object;
        bool removed = false;
    };
    std::vector<Entry> entries_;
    int posting_ = 0;
};
