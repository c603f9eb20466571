#pragma once
// Ordered, retaining array of objects; a thin object around a ccArray record.
#include <vector>

#include "CCObject.h"
#include "CCSelector.h"
#include "ccCArray.h"

class CCArray : public CCObject {
public:
    static CCArray* array();
    static CCArray* arrayWithCapacity(unsigned capacity);
    static CCArray* arrayWithArray(const CCArray* other);
    static CCArray* arrayWithNSArray(const std::vector<CCObject*>& objects);

    bool init();
    bool initWithCapacity(unsigned capacity);
    bool initWithArray(const CCArray* other);
    bool initWithNSArray(const std::vector<CCObject*>& objects);
    ~CCArray() override;

    unsigned count() const { return data->num; }
    unsigned capacity() const { return data->max; }
    // Throws std::out_of_range "index out of range in objectAtIndex(<count>)".
    CCObject* objectAtIndex(unsigned index) const;
    CCObject* lastObject() const;
    CCObject* randomObject() const;
    unsigned indexOfObject(const CCObject* object) const;
    bool containsObject(const CCObject* object) const;

    void addObject(CCObject* object);
    void addObjectsFromArray(const CCArray* other);
    void addObjectsFromNSArray(const std::vector<CCObject*>& objects);
    void insertObject(CCObject* object, unsigned index);
    void removeObject(CCObject* object);
    void removeObjectAtIndex(unsigned index);
    // Throws std::out_of_range "no objects added" when empty.
    void removeLastObject();
    void fastRemoveObject(CCObject* object);
    void fastRemoveObjectAtIndex(unsigned index);
    void removeAllObjects();
    void removeObjectsInArray(const CCArray* other);

    // In index order; the count is read again at every step.
    void makeObjectsPerformSelector(CCSelector<void()> selector);
    void makeObjectsPerformSelector(CCSelector<void(CCObject*)> selector, CCObject* object);

    // The same elements as a plain list (not retained by the list).
    std::vector<CCObject*> getNSArray() const;
    // A new array holding the same elements (owned by the caller).
    CCArray* copy() const;

    CCObject** begin() const { return data->arr; }
    CCObject** end() const { return data->arr + data->num; }

    ccArray* data = nullptr;
};
