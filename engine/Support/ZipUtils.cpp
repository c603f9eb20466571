#include "ZipUtils.h"

#include <zlib.h>

#include <climits>
#include <cstdlib>

namespace {

// The first buffer follows the input's size; it doubles only as inflated data fills it.
constexpr std::size_t kSmallestBuffer = 4096;
constexpr std::size_t kLargestFirstBuffer = 256 * 1024;

} // namespace

int inflateMemory(const unsigned char* in, unsigned inLength, unsigned char** out) {
    return inflateMemoryWithLimit(in, inLength, out, kCCInflateMaxOutput);
}

int inflateMemoryWithLimit(const unsigned char* in, unsigned inLength, unsigned char** out, std::size_t maxOutput) {
    if (!out) return 0;
    *out = nullptr;
    if (!in || inLength == 0) return 0;
    if (maxOutput > std::size_t(INT_MAX)) maxOutput = std::size_t(INT_MAX);

    std::size_t bufferSize = std::size_t(inLength) * 4;
    if (bufferSize < kSmallestBuffer) bufferSize = kSmallestBuffer;
    if (bufferSize > kLargestFirstBuffer) bufferSize = kLargestFirstBuffer;
    if (bufferSize > maxOutput) bufferSize = maxOutput;
    auto* buffer = static_cast<unsigned char*>(std::malloc(bufferSize ? bufferSize : 1));
    if (!buffer) return 0;

    z_stream stream{};
    stream.next_in = const_cast<unsigned char*>(in);
    stream.avail_in = inLength;
    stream.next_out = buffer;
    stream.avail_out = unsigned(bufferSize);
    // 15 window bits + 32: zlib or gzip header, told apart by zlib.
    if (inflateInit2(&stream, 15 + 32) != Z_OK) {
        std::free(buffer);
        return 0;
    }

    bool ok = false;
    for (;;) {
        const int status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            ok = true;
            break;
        }
        if (status == Z_NEED_DICT || status == Z_DATA_ERROR || status == Z_MEM_ERROR) break;
        // No progress possible with room left: the input ended before the stream did.
        if (status == Z_BUF_ERROR && stream.avail_out > 0) break;
        if (stream.avail_out > 0) {
            // Input used up with room left and no stream end: truncated.
            if (stream.avail_in == 0) break;
            continue;
        }
        if (bufferSize >= maxOutput) break;
        std::size_t grown = bufferSize * 2 < maxOutput ? bufferSize * 2 : maxOutput;
        auto* bigger = static_cast<unsigned char*>(std::realloc(buffer, grown));
        if (!bigger) break;
        buffer = bigger;
        stream.next_out = buffer + bufferSize;
        stream.avail_out = unsigned(grown - bufferSize);
        bufferSize = grown;
    }
    const std::size_t length = bufferSize - stream.avail_out;
    inflateEnd(&stream);
    if (!ok) {
        std::free(buffer);
        return 0;
    }
    *out = buffer;
    return int(length);
}
