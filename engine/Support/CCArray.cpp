#include "CCArray.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

CCArray* CCArray::array() {
    return ccCreate<CCArray>([](CCArray* a) { return a->init(); });
}
CCArray* CCArray::arrayWithCapacity(unsigned capacity) {
    return ccCreate<CCArray>([&](CCArray* a) { return a->initWithCapacity(capacity); });
}
CCArray* CCArray::arrayWithArray(const CCArray* other) {
    return ccCreate<CCArray>([&](CCArray* a) { return a->initWithArray(other); });
}
CCArray* CCArray::arrayWithNSArray(const std::vector<CCObject*>& objects) {
    return ccCreate<CCArray>([&](CCArray* a) { return a->initWithNSArray(objects); });
}

bool CCArray::init() { return initWithCapacity(2); }

bool CCArray::initWithCapacity(unsigned capacity) {
    if (data) ccArrayFree(data);
    data = ccArrayNew(capacity);
    return true;
}

bool CCArray::initWithArray(const CCArray* other) {
    initWithCapacity(other->count());
    addObjectsFromArray(other);
    return true;
}

bool CCArray::initWithNSArray(const std::vector<CCObject*>& objects) {
    initWithCapacity(static_cast<unsigned>(objects.size()));
    addObjectsFromNSArray(objects);
    return true;
}

CCArray::~CCArray() { ccArrayFree(data); }

CCObject* CCArray::objectAtIndex(unsigned index) const {
    if (index >= data->num)
        throw std::out_of_range("index out of range in objectAtIndex(" + std::to_string(data->num) + ")");
    return data->arr[index];
}

CCObject* CCArray::lastObject() const { return data->num > 0 ? data->arr[data->num - 1] : nullptr; }

CCObject* CCArray::randomObject() const {
    if (data->num == 0) return nullptr;
    double r = static_cast<double>(::random()) / 2147483648.0;
    return data->arr[static_cast<unsigned>(data->num * r)];
}

unsigned CCArray::indexOfObject(const CCObject* object) const { return ccArrayGetIndexOfObject(data, object); }
bool CCArray::containsObject(const CCObject* object) const { return ccArrayContainsObject(data, object); }

void CCArray::addObject(CCObject* object) { ccArrayAppendObjectWithResize(data, object); }
void CCArray::addObjectsFromArray(const CCArray* other) { ccArrayAppendArrayWithResize(data, other->data); }
void CCArray::addObjectsFromNSArray(const std::vector<CCObject*>& objects) {
    ccArrayEnsureExtraCapacity(data, static_cast<unsigned>(objects.size()));
    for (CCObject* object : objects) ccArrayAppendObject(data, object);
}
void CCArray::insertObject(CCObject* object, unsigned index) { ccArrayInsertObjectAtIndex(data, object, index); }
void CCArray::removeObject(CCObject* object) { ccArrayRemoveObject(data, object); }

void CCArray::removeObjectAtIndex(unsigned index) {
    if (index >= data->num)
        throw std::out_of_range("index out of range in objectAtIndex(" + std::to_string(data->num) + ")");
    ccArrayRemoveObjectAtIndex(data, index);
}

void CCArray::removeLastObject() {
    if (data->num == 0) throw std::out_of_range("no objects added");
    ccArrayRemoveObjectAtIndex(data, data->num - 1);
}

void CCArray::fastRemoveObject(CCObject* object) { ccArrayFastRemoveObject(data, object); }

void CCArray::fastRemoveObjectAtIndex(unsigned index) {
    if (index >= data->num)
        throw std::out_of_range("index out of range in objectAtIndex(" + std::to_string(data->num) + ")");
    ccArrayFastRemoveObjectAtIndex(data, index);
}

void CCArray::removeAllObjects() { ccArrayRemoveAllObjects(data); }
void CCArray::removeObjectsInArray(const CCArray* other) { ccArrayRemoveArray(data, other->data); }

void CCArray::makeObjectsPerformSelector(CCSelector<void()> selector) {
    for (unsigned i = 0; i < data->num; ++i) selector(data->arr[i]);
}

void CCArray::makeObjectsPerformSelector(CCSelector<void(CCObject*)> selector, CCObject* object) {
    for (unsigned i = 0; i < data->num; ++i) selector(data->arr[i], object);
}

std::vector<CCObject*> CCArray::getNSArray() const { return {begin(), end()}; }

CCArray* CCArray::copy() const {
    return ccNew<CCArray>([&](CCArray* a) { return a->initWithArray(this); });
}
