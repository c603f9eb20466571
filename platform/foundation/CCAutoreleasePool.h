#pragma once
// Autorelease pools: a per-thread stack; objects autoreleased go to the innermost pool and
// are released once each when that pool drains. The run loop drains once per pass.
#include <cstddef>

class CCObject;

class CCAutoreleasePool {
public:
    // Opens a new innermost pool on this thread.
    static void push();
    // Drains and closes the innermost pool (the bottom pool is only drained, never closed).
    static void pop();
    // Releases everything the innermost pool holds, keeping the pool open.
    static void drain();
    static void addObject(CCObject* object);
    // How many objects the innermost pool holds.
    static std::size_t pendingCount();
    static std::size_t depth();
};

// Opens a pool for a scope and drains it at the end of the scope.
class CCAutoreleaseScope {
public:
    CCAutoreleaseScope() { CCAutoreleasePool::push(); }
    ~CCAutoreleaseScope() { CCAutoreleasePool::pop(); }
    CCAutoreleaseScope(const CCAutoreleaseScope&) = delete;
    CCAutoreleaseScope& operator=(const CCAutoreleaseScope&) = delete;
};
