#pragma once
// The plain growable array records: ccArray retains its objects, ccCArray holds raw values.
// The scheduler, the action manager and nodes walk `arr` directly by index.
#include <cstdint>

class CCObject;

inline constexpr unsigned CC_INVALID_INDEX = 0x7fffffff;

struct ccArray {
    unsigned num = 0, max = 0;
    CCObject** arr = nullptr;
};

// Capacity 0 still allocates one slot.
ccArray* ccArrayNew(unsigned capacity);
// Removes (releases) every object, then frees the slots and the record.
void ccArrayFree(ccArray* arr);
void ccArrayDoubleCapacity(ccArray* arr);
// Doubles the capacity until num + extra fits.
void ccArrayEnsureExtraCapacity(ccArray* arr, unsigned extra);
void ccArrayShrink(ccArray* arr);
unsigned ccArrayGetIndexOfObject(const ccArray* arr, const CCObject* object);
bool ccArrayContainsObject(const ccArray* arr, const CCObject* object);
// Appends with one added reference; the caller has ensured the capacity.
void ccArrayAppendObject(ccArray* arr, CCObject* object);
void ccArrayAppendObjectWithResize(ccArray* arr, CCObject* object);
void ccArrayAppendArray(ccArray* arr, const ccArray* plusArr);
void ccArrayAppendArrayWithResize(ccArray* arr, const ccArray* plusArr);
// "Invalid index. Out of bounds" when index > num.
void ccArrayInsertObjectAtIndex(ccArray* arr, CCObject* object, unsigned index);
// Releases from the last element to the first; the capacity stays.
void ccArrayRemoveAllObjects(ccArray* arr);
void ccArrayRemoveObjectAtIndex(ccArray* arr, unsigned index);
// Moves the last element into the freed slot.
void ccArrayFastRemoveObjectAtIndex(ccArray* arr, unsigned index);
void ccArrayFastRemoveObject(ccArray* arr, CCObject* object);
// The first slot holding this very object.
void ccArrayRemoveObject(ccArray* arr, CCObject* object);
void ccArrayRemoveArray(ccArray* arr, const ccArray* minusArr);

struct ccCArray {
    unsigned num = 0, max = 0;
    void** arr = nullptr;
};

ccCArray* ccCArrayNew(unsigned capacity);
void ccCArrayFree(ccCArray* arr);
void ccCArrayEnsureExtraCapacity(ccCArray* arr, unsigned extra);
unsigned ccCArrayGetIndexOfValue(const ccCArray* arr, const void* value);
bool ccCArrayContainsValue(const ccCArray* arr, const void* value);
// "index < arr->max" when index is not below the capacity.
void ccCArrayInsertValueAtIndex(ccCArray* arr, void* value, unsigned index);
void ccCArrayAppendValue(ccCArray* arr, void* value);
void ccCArrayAppendValueWithResize(ccCArray* arr, void* value);
void ccCArrayRemoveAllValues(ccCArray* arr);
void ccCArrayRemoveValueAtIndex(ccCArray* arr, unsigned index);
void ccCArrayFastRemoveValueAtIndex(ccCArray* arr, unsigned index);
void ccCArrayRemoveValue(ccCArray* arr, void* value);
