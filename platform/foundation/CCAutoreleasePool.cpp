#include "CCAutoreleasePool.h"

#include <vector>

#include "CCObject.h"

namespace {

struct PoolStack {
    std::vector<std::vector<CCObject*>> pools{1};
    ~PoolStack() {
        while (!pools.empty()) {
            drainTop();
            pools.pop_back();
        }
    }
    void drainTop() {
        // Releasing may autorelease more objects into this pool: drain until empty.
        while (!pools.back().empty()) {
            std::vector<CCObject*> objects;
            objects.swap(pools.back());
            for (CCObject* object : objects) object->release();
        }
    }
};

PoolStack& stack() {
    thread_local PoolStack s;
    return s;
}

} // namespace

void CCAutoreleasePool::push() { stack().pools.emplace_back(); }

void CCAutoreleasePool::pop() {
    PoolStack& s = stack();
    s.drainTop();
    if (s.pools.size() > 1) s.pools.pop_back();
}

void CCAutoreleasePool::drain() { stack().drainTop(); }

void CCAutoreleasePool::addObject(CCObject* object) { stack().pools.back().push_back(object); }

std::size_t CCAutoreleasePool::pendingCount() { return stack().pools.back().size(); }

std::size_t CCAutoreleasePool::depth() { return stack().pools.size(); }
