#include "CCDriverHeap.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {
constexpr int kMapAbove = 32 << 20; // glibc's own ceiling for the threshold it adapts
constexpr int kTrimAbove = 64 << 20;

bool userTunedTheHeap() {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.")) return true;
    for (const char* name : {"MALLOC_TRIM_THRESHOLD_", "MALLOC_MMAP_THRESHOLD_", "MALLOC_TOP_PAD_"})
        if (std::getenv(name)) return true;
    return false;
}
} // namespace

bool ccKeepHeapBetweenFrames() {
    if (userTunedTheHeap()) return false;
    // Both at once: setting one turns off glibc's adapting of the other.
    return mallopt(M_MMAP_THRESHOLD, kMapAbove) == 1 && mallopt(M_TRIM_THRESHOLD, kTrimAbove) == 1;
}
