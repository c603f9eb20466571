#include "NSSet.h"

#include <algorithm>

NSSet* NSSet::set() { return ccAutorelease(new NSSet); }

NSSet* NSSet::setWithObject(CCObject* object) {
    NSSet* s = set();
    s->addObject(object);
    return s;
}

NSSet::~NSSet() { removeAllObjects(); }

bool NSSet::containsObject(const CCObject* object) const {
    return std::find(objects_.begin(), objects_.end(), object) != objects_.end();
}

void NSSet::addObject(CCObject* object) {
    if (!object || containsObject(object)) return;
    object->retain();
    objects_.push_back(object);
}

void NSSet::removeObject(CCObject* object) {
    auto it = std::find(objects_.begin(), objects_.end(), object);
    if (it == objects_.end()) return;
    objects_.erase(it);
    object->release();
}

void NSSet::removeAllObjects() {
    std::vector<CCObject*> old;
    old.swap(objects_);
    for (CCObject* o : old) o->release();
}

NSSet* NSSet::mutableCopy() const {
    auto* copy = new NSSet;
    for (CCObject* o : objects_) copy->addObject(o);
    return copy;
}
