#include "ccCArray.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "CCAssert.h"
#include "CCObject.h"

namespace {
template <class Slot> Slot* allocSlots(unsigned count) {
    auto* slots = static_cast<Slot*>(std::calloc(count, sizeof(Slot)));
    if (!slots) throw std::bad_alloc();
    return slots;
}
template <class Slot> Slot* reallocSlots(Slot* slots, unsigned count) {
    auto* grown = static_cast<Slot*>(std::realloc(slots, sizeof(Slot) * count));
    if (!grown) throw std::bad_alloc();
    return grown;
}
} // namespace

ccArray* ccArrayNew(unsigned capacity) {
    if (capacity == 0) capacity = 1;
    auto* arr = new ccArray;
    arr->max = capacity;
    arr->arr = allocSlots<CCObject*>(capacity);
    return arr;
}

void ccArrayFree(ccArray* arr) {
    if (!arr) return;
    ccArrayRemoveAllObjects(arr);
    std::free(arr->arr);
    delete arr;
}

void ccArrayDoubleCapacity(ccArray* arr) {
    arr->max *= 2;
    arr->arr = reallocSlots(arr->arr, arr->max);
}

void ccArrayEnsureExtraCapacity(ccArray* arr, unsigned extra) {
    while (arr->max < arr->num + extra) ccArrayDoubleCapacity(arr);
}

void ccArrayShrink(ccArray* arr) {
    unsigned newSize = arr->num ? arr->num : 1;
    if (arr->max > newSize) {
        arr->max = newSize;
        arr->arr = reallocSlots(arr->arr, newSize);
    }
}

unsigned ccArrayGetIndexOfObject(const ccArray* arr, const CCObject* object) {
    for (unsigned i = 0; i < arr->num; ++i)
        if (arr->arr[i] == object) return i;
    return CC_INVALID_INDEX;
}

bool ccArrayContainsObject(const ccArray* arr, const CCObject* object) {
    return ccArrayGetIndexOfObject(arr, object) != CC_INVALID_INDEX;
}

void ccArrayAppendObject(ccArray* arr, CCObject* object) {
    object->retain();
    arr->arr[arr->num++] = object;
}

void ccArrayAppendObjectWithResize(ccArray* arr, CCObject* object) {
    ccArrayEnsureExtraCapacity(arr, 1);
    ccArrayAppendObject(arr, object);
}

void ccArrayAppendArray(ccArray* arr, const ccArray* plusArr) {
    for (unsigned i = 0; i < plusArr->num; ++i) ccArrayAppendObject(arr, plusArr->arr[i]);
}

void ccArrayAppendArrayWithResize(ccArray* arr, const ccArray* plusArr) {
    ccArrayEnsureExtraCapacity(arr, plusArr->num);
    ccArrayAppendArray(arr, plusArr);
}

void ccArrayInsertObjectAtIndex(ccArray* arr, CCObject* object, unsigned index) {
    CCAssert(index <= arr->num, "Invalid index. Out of bounds");
    ccArrayEnsureExtraCapacity(arr, 1);
    unsigned remaining = arr->num - index;
    if (remaining > 0) std::memmove(&arr->arr[index + 1], &arr->arr[index], sizeof(CCObject*) * remaining);
    object->retain();
    arr->arr[index] = object;
    arr->num++;
}

void ccArrayRemoveAllObjects(ccArray* arr) {
    while (arr->num > 0) arr->arr[--arr->num]->release();
}

void ccArrayRemoveObjectAtIndex(ccArray* arr, unsigned index) {
    CCObject* removed = arr->arr[index];
    arr->num--;
    unsigned remaining = arr->num - index;
    if (remaining > 0) std::memmove(&arr->arr[index], &arr->arr[index + 1], sizeof(CCObject*) * remaining);
    // Released after the slots are consistent: its destructor may look at this array.
    removed->release();
}

void ccArrayFastRemoveObjectAtIndex(ccArray* arr, unsigned index) {
    CCObject* removed = arr->arr[index];
    unsigned last = --arr->num;
    arr->arr[index] = arr->arr[last];
    removed->release();
}

void ccArrayFastRemoveObject(ccArray* arr, CCObject* object) {
    unsigned index = ccArrayGetIndexOfObject(arr, object);
    if (index != CC_INVALID_INDEX) ccArrayFastRemoveObjectAtIndex(arr, index);
}

void ccArrayRemoveObject(ccArray* arr, CCObject* object) {
    unsigned index = ccArrayGetIndexOfObject(arr, object);
    if (index != CC_INVALID_INDEX) ccArrayRemoveObjectAtIndex(arr, index);
}

void ccArrayRemoveArray(ccArray* arr, const ccArray* minusArr) {
    for (unsigned i = 0; i < minusArr->num; ++i) ccArrayRemoveObject(arr, minusArr->arr[i]);
}

ccCArray* ccCArrayNew(unsigned capacity) {
    if (capacity == 0) capacity = 1;
    auto* arr = new ccCArray;
    arr->max = capacity;
    arr->arr = allocSlots<void*>(capacity);
    return arr;
}

void ccCArrayFree(ccCArray* arr) {
    if (!arr) return;
    std::free(arr->arr);
    delete arr;
}

void ccCArrayEnsureExtraCapacity(ccCArray* arr, unsigned extra) {
    while (arr->max < arr->num + extra) {
        arr->max *= 2;
        arr->arr = reallocSlots(arr->arr, arr->max);
    }
}

unsigned ccCArrayGetIndexOfValue(const ccCArray* arr, const void* value) {
    for (unsigned i = 0; i < arr->num; ++i)
        if (arr->arr[i] == value) return i;
    return CC_INVALID_INDEX;
}

bool ccCArrayContainsValue(const ccCArray* arr, const void* value) {
    return ccCArrayGetIndexOfValue(arr, value) != CC_INVALID_INDEX;
}

void ccCArrayInsertValueAtIndex(ccCArray* arr, void* value, unsigned index) {
    CCAssert(index < arr->max, "index < arr->max");
    // Make room for the value that moves up.
    if (arr->num + 1 > arr->max) ccCArrayEnsureExtraCapacity(arr, 1);
    unsigned remaining = arr->num > index ? arr->num - index : 0;
    if (remaining > 0) std::memmove(&arr->arr[index + 1], &arr->arr[index], sizeof(void*) * remaining);
    // An index past the used prefix leaves the values in between empty, never garbage.
    for (unsigned i = arr->num; i < index; ++i) arr->arr[i] = nullptr;
    arr->arr[index] = value;
    arr->num = index >= arr->num ? index + 1 : arr->num + 1;
}

void ccCArrayAppendValue(ccCArray* arr, void* value) { arr->arr[arr->num++] = value; }

void ccCArrayAppendValueWithResize(ccCArray* arr, void* value) {
    ccCArrayEnsureExtraCapacity(arr, 1);
    ccCArrayAppendValue(arr, value);
}

void ccCArrayRemoveAllValues(ccCArray* arr) { arr->num = 0; }

void ccCArrayRemoveValueAtIndex(ccCArray* arr, unsigned index) {
    arr->num--;
    unsigned remaining = arr->num - index;
    if (remaining > 0) std::memmove(&arr->arr[index], &arr->arr[index + 1], sizeof(void*) * remaining);
}

void ccCArrayFastRemoveValueAtIndex(ccCArray* arr, unsigned index) { arr->arr[index] = arr->arr[--arr->num]; }

void ccCArrayRemoveValue(ccCArray* arr, void* value) {
    unsigned index = ccCArrayGetIndexOfValue(arr, value);
    if (index != CC_INVALID_INDEX) ccCArrayRemoveValueAtIndex(arr, index);
}
