#include "ResourceWriter.h"

#include <fstream>
#include <system_error>

namespace restool {

namespace fs = std::filesystem;

bool ResourceWriter::png(const std::string& name, const Image& image, std::string* error) {
    const fs::path temp = tempPath(name);
    if (!writePng(temp.string(), image, error)) {
        discard(temp);
        return false;
    }
    return commit(temp, name, error);
}

bool ResourceWriter::bytes(const std::string& name, const void* data, std::size_t size, std::string* error) {
    const fs::path temp = tempPath(name);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        out.close();
        if (!out) {
            *error = temp.string() + ": write failed";
            discard(temp);
            return false;
        }
    }
    return commit(temp, name, error);
}

void ResourceWriter::discard(const fs::path& temp) {
    std::error_code ec;
    fs::remove(temp, ec);
}

bool ResourceWriter::commit(const fs::path& temp, const std::string& name, std::string* error) {
    std::error_code ec;
    fs::rename(temp, dir_ / name, ec);
    if (ec) {
        *error = (dir_ / name).string() + ": " + ec.message();
        discard(temp);
        return false;
    }
    return true;
}

}  // namespace restool
