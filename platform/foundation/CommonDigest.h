#pragma once
// MD5 digests over OpenSSL's EVP interface.
#include <cstdint>

constexpr unsigned CC_MD5_DIGEST_LENGTH = 16;
using CC_LONG = uint32_t;

// Writes the 16-byte digest of `length` bytes at `data` into `md` and returns `md`; nullptr
// when the digest cannot be computed.
unsigned char* CC_MD5(const void* data, CC_LONG length, unsigned char* md);
