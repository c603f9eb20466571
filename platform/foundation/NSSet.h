#pragma once
// A retaining set of objects that remembers insertion order (touch sets iterate stably).
#include <vector>

#include "CCObject.h"

class NSSet : public CCObject {
public:
    static NSSet* set();
    static NSSet* setWithObject(CCObject* object);
    ~NSSet() override;

    unsigned count() const { return static_cast<unsigned>(objects_.size()); }
    bool containsObject(const CCObject* object) const;
    // Any member (the first added), or nullptr when empty.
    CCObject* anyObject() const { return objects_.empty() ? nullptr : objects_.front(); }
    // No effect when the object is a member already.
    void addObject(CCObject* object);
    void removeObject(CCObject* object);
    void removeAllObjects();
    // A new set with the same members, owned by the caller.
    NSSet* mutableCopy() const;

    std::vector<CCObject*>::const_iterator begin() const { return objects_.begin(); }
    std::vector<CCObject*>::const_iterator end() const { return objects_.end(); }

private:
    std::vector<CCObject*> objects_;
};
