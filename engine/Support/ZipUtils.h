#pragma once
// Inflation of zlib or gzip data (the header kind is detected).
#include <cstddef>

// Largest output inflateMemory produces; anything that would inflate further fails.
inline constexpr std::size_t kCCInflateMaxOutput = 64u * 1024 * 1024;

// Inflates the whole stream into a new buffer (free it with free()) and returns its length.
// Any failure (bad or truncated data, output past the limit, no memory) gives 0 and nullptr.
int inflateMemory(const unsigned char* in, unsigned inLength, unsigned char** out);
int inflateMemoryWithLimit(const unsigned char* in, unsigned inLength, unsigned char** out, std::size_t maxOutput);
