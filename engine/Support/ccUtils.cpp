#include "ccUtils.h"

std::uint32_t ccNextPOT(std::uint32_t x) {
    x = x - 1;
    x |= x >> 1;
    x |= x >> 2;
    x |= x >> 4;
    x |= x >> 8;
    x |= x >> 16;
    return x + 1;
}
