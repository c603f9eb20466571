#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCPtr.h"
#include "CCArray.h"

namespace {

struct Item : CCObject {
    Item(std::vector<std::string>* log, std::string name) : log(log), name(std::move(name)) {}
    ~Item() override { log->push_back(name); }
    std::vector<std::string>* log;
    std::string name;
};

class CCArrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        array = CCPtr<CCArray>::adopt(new CCArray);
        array->init();
        for (const char* n : {"A", "B", "C"}) items.push_back(CCPtr<Item>::adopt(new Item(&gone, n)));
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (CCObject* o : *array) out.push_back(static_cast<Item*>(o)->name);
        return out;
    }
    std::vector<std::string> gone;
    std::vector<CCPtr<Item>> items;
    CCPtr<CCArray> array;
};

TEST_F(CCArrayTest, GrowsByDoubling) {
    EXPECT_EQ(array->capacity(), 2u);
    array->addObject(items[0]);
    array->addObject(items[1]);
    EXPECT_EQ(array->capacity(), 2u);
    array->addObject(items[2]);
    EXPECT_EQ(array->capacity(), 4u);
    array->addObject(items[0]);
    array->addObject(items[1]);
    EXPECT_EQ(array->capacity(), 8u);
    EXPECT_EQ(items[0]->retainCount(), 3u);
}

TEST_F(CCArrayTest, RemovalKeepsOrderOrSwapsInTheLast) {
    for (auto& i : items) array->addObject(i);
    array->addObject(items[0]);
    array->removeObject(items[0]); // only the first occurrence
    EXPECT_EQ(names(), (std::vector<std::string>{"B", "C", "A"}));
    array->removeAllObjects();
    for (auto& i : items) array->addObject(i);
    array->fastRemoveObjectAtIndex(0);
    EXPECT_EQ(names(), (std::vector<std::string>{"C", "B"}));
    array->insertObject(items[0], array->count());
    EXPECT_EQ(names(), (std::vector<std::string>{"C", "B", "A"}));
}

TEST_F(CCArrayTest, RemoveAllReleasesFromTheLast) {
    for (auto& i : items) array->addObject(i);
    items.clear();
    array->removeAllObjects();
    EXPECT_EQ(gone, (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(array->capacity(), 4u);
}

TEST_F(CCArrayTest, RangeErrorsThrowWithTheirTexts) {
    array->addObject(items[0]);
    try {
        array->objectAtIndex(1);
        FAIL();
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "index out of range in objectAtIndex(1)");
    }
    array->removeLastObject();
    try {
        array->removeLastObject();
        FAIL();
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "no objects added");
    }
    EXPECT_EQ(array->lastObject(), nullptr);
    EXPECT_EQ(array->randomObject(), nullptr);
    EXPECT_EQ(array->indexOfObject(items[1]), CC_INVALID_INDEX);
}

TEST_F(CCArrayTest, InsertPastTheEndStops) {
    EXPECT_DEATH(array->insertObject(items[0], 1), "Invalid index. Out of bounds");
}

TEST(ccCArray, InsertMovesLaterValuesUpAndChecksCapacity) {
    ccCArray* arr = ccCArrayNew(4);
    int a, b, c;
    ccCArrayAppendValue(arr, &a);
    ccCArrayAppendValue(arr, &b);
    ccCArrayInsertValueAtIndex(arr, &c, 0);
    ASSERT_EQ(arr->num, 3u);
    EXPECT_EQ(arr->arr[0], &c);
    EXPECT_EQ(arr->arr[2], &b);
    ccCArrayRemoveValueAtIndex(arr, 0);
    EXPECT_EQ(arr->arr[0], &a);
    EXPECT_DEATH(ccCArrayInsertValueAtIndex(arr, &a, 4), "index < arr->max");
    ccCArrayFree(arr);
}

} // namespace
