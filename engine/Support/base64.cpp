#include "base64.h"

#include <cstdlib>

namespace {

int sextet(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool isSpace(unsigned char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

} // namespace

int base64Decode(const unsigned char* in, unsigned inLength, unsigned char** out) {
    if (!out) return 0;
    *out = nullptr;
    if (!in) return 0;
    auto* buffer = static_cast<unsigned char*>(std::malloc(inLength / 4 * 3 + 3));
    if (!buffer) return 0;

    unsigned length = 0, bits = 0, count = 0, padding = 0;
    bool ok = true;
    for (unsigned i = 0; i < inLength && ok; ++i) {
        const unsigned char c = in[i];
        if (isSpace(c)) continue;
        if (c == '=') {
            // Padding only completes the last group.
            if (count < 2 || ++padding + count > 4) ok = false;
            continue;
        }
        const int value = sextet(c);
        if (value < 0 || padding > 0) {
            ok = false;
            break;
        }
        bits = bits << 6 | unsigned(value);
        if (++count == 4) {
            buffer[length++] = static_cast<unsigned char>(bits >> 16);
            buffer[length++] = static_cast<unsigned char>(bits >> 8);
            buffer[length++] = static_cast<unsigned char>(bits);
            bits = count = 0;
        }
    }
    // A partial last group of 2 or 3 characters carries 1 or 2 bytes; 1 carries none.
    if (ok && count == 1) ok = false;
    if (ok && padding > 0 && count + padding != 4) ok = false;
    if (ok && count == 2) {
        buffer[length++] = static_cast<unsigned char>(bits >> 4);
    } else if (ok && count == 3) {
        buffer[length++] = static_cast<unsigned char>(bits >> 10);
        buffer[length++] = static_cast<unsigned char>(bits >> 2);
    }
    if (!ok || length == 0) {
        std::free(buffer);
        return 0;
    }
    *out = buffer;
    return int(length);
}
