#include "CommonDigest.h"

#include <openssl/evp.h>

unsigned char* CC_MD5(const void* data, CC_LONG length, unsigned char* md) {
    if (!md || (!data && length)) return nullptr;
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    if (!context) return nullptr;
    unsigned int size = 0;
    bool ok = EVP_DigestInit_ex(context, EVP_md5(), nullptr) == 1 && EVP_DigestUpdate(context, data, length) == 1 &&
              EVP_DigestFinal_ex(context, md, &size) == 1 && size == CC_MD5_DIGEST_LENGTH;
    EVP_MD_CTX_free(context);
    return ok ? md : nullptr;
}
