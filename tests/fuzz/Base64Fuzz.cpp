// Base64 text: decoded bytes never exceed three for every four characters.
#include <cstdlib>

#include "FuzzTarget.h"
#include "base64.h"

ZORVIK_FUZZ_TARGET(base64) {
    unsigned char* out = nullptr;
    const int length = base64Decode(data, unsigned(size), &out);
    FUZZ_CHECK((length > 0) == (out != nullptr));
    FUZZ_CHECK(std::size_t(length) <= size / 4 * 3 + 2);
    std::free(out);
    return 0;
}
