#pragma once
// Observers registered by notification name (and optionally sender) receive the notifications
// posted under that name. Delivery is synchronous, on the thread that posts, in the order the
// observers were added. Observers are not retained: remove them before they go away.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CCObject.h"
#include "CCSelector.h"

class NSNotification;

using SEL_NOTIFICATION = CCSelector<void(NSNotification*)>;
#define notification_selector(M) ::ccSelector<void(NSNotification*)>(&M, #M)

class NSNotificationCenter {
public:
    static NSNotificationCenter* defaultCenter();

    // Calls `selector` on `observer` for every notification named `name` (empty: every name)
    // whose object is `object` (nullptr: any object). Adding the same registration twice
    // delivers twice, as the platform does.
    void addObserver(CCObject* observer, SEL_NOTIFICATION selector, const std::string& name, CCObject* object = nullptr);

    // Removes every registration of the observer / those matching name and object (an empty
    // name or a nullptr object matches any). A registration removed while a notification is
    // being delivered is not called for it any more.
    void removeObserver(CCObject* observer);
    void removeObserver(CCObject* observer, const std::string& name, CCObject* object = nullptr);

    void postNotification(NSNotification* notification);
    void postNotificationName(const std::string& name, CCObject* object = nullptr);

    // Registrations currently held (tests).
    std::size_t observerCount() const;

private:
    struct Registration {
        CCObject* observer;
        SEL_NOTIFICATION selector;
        std::string name;
        CCObject* object;
        bool removed = false; // guarded by mutex_
    };
    void removeMatching(CCObject* observer, const std::string* name, CCObject* object);

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Registration>> registrations_;
};
