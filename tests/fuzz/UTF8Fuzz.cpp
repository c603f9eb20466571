// UTF-8 decoding of label text: never more code points than bytes, each a byte or a character.
#include <string>

#include "CCLabelBMFont.h"
#include "FuzzTarget.h"

ZORVIK_FUZZ_TARGET(utf8) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::u32string codes = ccUTF8ToCodePoints(text);
    FUZZ_CHECK(codes.size() <= size);
    for (char32_t c : codes) FUZZ_CHECK(c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF));
    return 0;
}
