// zlib and gzip inflation under an output limit.
#include <cstdlib>

#include "FuzzTarget.h"
#include "ZipUtils.h"

ZORVIK_FUZZ_TARGET(inflate) {
    unsigned char* out = nullptr;
    const int length = inflateMemoryWithLimit(data, unsigned(size), &out, 1u << 20);
    // A stream that inflates to nothing is a success with an empty buffer.
    FUZZ_CHECK(length >= 0 && length <= (1 << 20) && (length == 0 || out));
    if (length > 0) out[length - 1] ^= 1;
    std::free(out);
    return 0;
}
