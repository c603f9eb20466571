#include "NSData.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

bool ccReadFile(const std::string& path, std::vector<std::uint8_t>& out, std::string* why) {
    out.clear();
    auto refuse = [why](std::string reason) {
        if (why) *why = std::move(reason);
        return false;
    };
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return refuse(errno == ENOENT ? "missing" : std::string("unreadable (") + std::strerror(errno) + ")");
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return refuse("not a regular file");
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    bool ok = true;
    for (;;) {
        std::size_t n = std::fread(chunk, 1, sizeof chunk, file);
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < sizeof chunk) {
            ok = !std::ferror(file);
            break;
        }
    }
    const int error = errno;
    std::fclose(file);
    if (!ok) return refuse(std::string("unreadable (") + std::strerror(error) + ")");
    out = std::move(bytes);
    return true;
}

bool ccFileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

NSData* NSData::dataWithContentsOfFile(const std::string& path) {
    return ccCreate<NSData>([&](NSData* d) { return d->initWithContentsOfFile(path); });
}

NSData* NSData::dataWithBytes(const void* bytes, std::size_t length) {
    return ccCreate<NSData>([&](NSData* d) { return d->initWithBytes(bytes, length); });
}

NSData* NSData::dataWithVector(std::vector<std::uint8_t> bytes) {
    return ccCreate<NSData>([&](NSData* d) { return d->initWithVector(std::move(bytes)); });
}

bool NSData::initWithContentsOfFile(const std::string& path) { return ccReadFile(path, bytes_); }

bool NSData::initWithBytes(const void* bytes, std::size_t length) {
    if (!bytes && length) return false;
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    bytes_.assign(p, p + length);
    return true;
}

bool NSData::initWithVector(std::vector<std::uint8_t> bytes) {
    bytes_ = std::move(bytes);
    return true;
}

bool NSData::writeToFile(const std::string& path) const {
    std::string temporary = path + ".tmp" + std::to_string(getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool ok = bytes_.empty() || std::fwrite(bytes_.data(), 1, bytes_.size(), file) == bytes_.size();
    // On the disk before the rename, so that a crash leaves the old file or the new one.
    ok = ok && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    ok = (std::fclose(file) == 0) && ok;
    if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}
