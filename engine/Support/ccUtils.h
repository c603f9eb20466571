#pragma once
#include <cstdint>

// Smallest power of two not below x; 0 gives 0.
std::uint32_t ccNextPOT(std::uint32_t x);
