#pragma once
// Counts the heap allocations the counting thread makes while `countingHere` is on (other
// threads, such as the GL driver's, are not counted), through the sanitizer runtime's
// allocation hooks (the test builds run under ASan); installAllocationHooks() is false in a
// build without them, and such tests skip.
#include <dlfcn.h>
#include <execinfo.h>

#include <atomic>
#include <cstddef>
#include <cstring>

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*))
    __attribute__((weak));

namespace allocation_hooks {
inline std::atomic<long> allocations{0};
inline std::atomic<std::size_t> largest{0};
inline thread_local bool countingHere = false;
// Only allocations asked for by this program's own code, not by the libraries it calls.
inline std::atomic<bool> ownCodeOnly{false};

// Whether the code that called the allocator lies in this executable.
inline bool calledFromOwnCode() {
    static Dl_info self{};
    if (!self.dli_fbase) dladdr(reinterpret_cast<void*>(&calledFromOwnCode), &self);
    void* frames[24];
    const int n = backtrace(frames, 24);
    auto base = [&](int i) {
        Dl_info info{};
        return dladdr(frames[i], &info) ? info.dli_fbase : nullptr;
    };
    auto inRuntime = [&](int i) {
        Dl_info info{};
        return dladdr(frames[i], &info) && info.dli_fname && std::strstr(info.dli_fname, "libasan");
    };
    // The sanitizer's stand-in for backtrace, this hook, the allocator, then the allocator's caller.
    int i = 0;
    while (i < n && base(i) != self.dli_fbase) ++i;
    while (i < n && base(i) == self.dli_fbase) ++i;
    if (i >= n || !inRuntime(i)) return false;
    while (i < n && inRuntime(i)) ++i;
    return i < n && base(i) == self.dli_fbase;
}

inline void onMalloc(const volatile void*, std::size_t size) {
    if (!countingHere) return;
    if (ownCodeOnly.load(std::memory_order_relaxed)) {
        countingHere = false; // the walk of the stack may allocate
        const bool own = calledFromOwnCode();
        countingHere = true;
        if (!own) return;
    }
    allocations.fetch_add(1, std::memory_order_relaxed);
    std::size_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
}
inline void onFree(const volatile void*) {}
} // namespace allocation_hooks

inline bool installAllocationHooks() {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks &&
                                  __sanitizer_install_malloc_and_free_hooks(allocation_hooks::onMalloc,
                                                                             allocation_hooks::onFree) != 0;
    return installed;
}

// The allocations `body` makes on this thread.
template <typename Body>
long allocationsOf(Body&& body) {
    allocation_hooks::allocations = 0;
    allocation_hooks::largest = 0;
    allocation_hooks::countingHere = true;
    body();
    allocation_hooks::countingHere = false;
    return allocation_hooks::allocations.load();
}

// The allocations this program's own code asks for while `body` runs on this thread; those of
// the libraries it calls (the GL driver's, for one) are not counted.
template <typename Body>
long ownAllocationsOf(Body&& body) {
    allocation_hooks::ownCodeOnly = true;
    const long n = allocationsOf(body);
    allocation_hooks::ownCodeOnly = false;
    return n;
}

// The size of the largest single allocation `body` makes on this thread.
template <typename Body>
std::size_t largestAllocationOf(Body&& body) {
    allocationsOf(body);
    return allocation_hooks::largest.load();
}
