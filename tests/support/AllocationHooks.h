#pragma once
// Counts the heap allocations made while `counting` is on, through the sanitizer runtime's
// allocation hooks (the test builds run under ASan); installAllocationHooks() is false in a
// build without them, and such tests skip.
#include <atomic>
#include <cstddef>

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*))
    __attribute__((weak));

namespace allocation_hooks {
inline std::atomic<bool> counting{false};
inline std::atomic<long> allocations{0};

inline void onMalloc(const volatile void*, std::size_t) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}
inline void onFree(const volatile void*) {}
} // namespace allocation_hooks

inline bool installAllocationHooks() {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks &&
                                  __sanitizer_install_malloc_and_free_hooks(allocation_hooks::onMalloc,
                                                                             allocation_hooks::onFree) != 0;
    return installed;
}

// The allocations `body` makes.
template <typename Body>
long allocationsOf(Body&& body) {
    allocation_hooks::allocations = 0;
    allocation_hooks::counting = true;
    body();
    allocation_hooks::counting = false;
    return allocation_hooks::allocations.load();
}
