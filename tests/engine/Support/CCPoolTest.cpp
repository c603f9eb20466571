#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

#include "CCInlineArray.h"
#include "CCPool.h"

namespace {

struct Record {
    explicit Record(int v = 0, int* destroyed = nullptr) : value(v), destroyed(destroyed) {
        if (v < 0) throw std::invalid_argument("negative");
    }
    ~Record() {
        if (destroyed) ++*destroyed;
    }
    int value;
    int* destroyed;
};

TEST(Pool, RecordsKeepTheirAddressesWhileThePoolGrows) {
    CCPool<Record> pool;
    std::vector<Record*> records;
    for (int i = 0; i < 10000; i++) records.push_back(pool.make(i));
    EXPECT_EQ(pool.size(), 10000u);
    EXPECT_GE(pool.capacity(), 10000u);
    for (int i = 0; i < 10000; i++) ASSERT_EQ(records[i]->value, i);
    std::set<Record*> distinct(records.begin(), records.end());
    EXPECT_EQ(distinct.size(), records.size());
    // Made one after another, they lie side by side within a chunk.
    EXPECT_EQ(records[1], records[0] + 1);
    int destroyed = 0;
    for (Record* r : records) {
        r->destroyed = &destroyed;
        pool.free(r);
    }
    EXPECT_EQ(destroyed, 10000);
    EXPECT_EQ(pool.size(), 0u);
}

TEST(Pool, AFreedSlotIsReusedBeforeThePoolGrows) {
    CCPool<Record> pool;
    Record* a = pool.make(1);
    Record* b = pool.make(2);
    const std::size_t capacity = pool.capacity();
    pool.free(a);
    Record* c = pool.make(3);
    EXPECT_EQ(c, a);
    EXPECT_EQ(c->value, 3);
    EXPECT_EQ(b->value, 2);
    EXPECT_EQ(pool.capacity(), capacity);
    // A constructor that throws gives its slot back.
    EXPECT_THROW(pool.make(-1), std::invalid_argument);
    EXPECT_EQ(pool.size(), 2u);
    pool.free(b);
    EXPECT_EQ(pool.make(4), b);
    pool.free(b);
    pool.free(c);
}

TEST(InlineArray, GrowsPastItsInlineValuesAndShrinksBackOnClear) {
    CCInlineArray<int, 2> values;
    for (int i = 0; i < 9; i++) values.push_back(i * 10);
    ASSERT_EQ(values.size(), 9u);
    EXPECT_GE(values.capacity(), 9u);
    for (unsigned i = 0; i < 9; i++) EXPECT_EQ(values[i], int(i * 10));
    values.erase(0);
    values.erase(7); // the last
    values.erase(3);
    EXPECT_EQ(std::vector<int>(values.begin(), values.end()), (std::vector<int>{10, 20, 30, 50, 60, 70}));
    values.clear();
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(values.capacity(), 2u);
    values.push_back(5);
    EXPECT_EQ(values[0], 5);
}

} // namespace
