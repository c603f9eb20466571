#pragma once

#include <cstddef>
#include <filesystem>
#include <system_error>
#include <string>

#include "Image.h"

namespace restool {

// Writes resource files into one folder. Each file is written under a temporary name and
// renamed into place, so a failure never leaves a half-written file behind.
class ResourceWriter {
public:
    explicit ResourceWriter(std::filesystem::path dir) : dir_(std::move(dir)) {}

    bool png(const std::string& name, const Image& image, std::string* error);
    bool bytes(const std::string& name, const void* data, std::size_t size, std::string* error);
    bool text(const std::string& name, const std::string& text, std::string* error) {
        return bytes(name, text.data(), text.size(), error);
    }

private:
    // Beside the file, in its own folder (made when missing).
    std::filesystem::path tempPath(const std::string& name) const {
        const std::filesystem::path target = dir_ / name;
        std::error_code ec;
        std::filesystem::create_directories(target.parent_path(), ec);
        return target.parent_path() / ("." + target.filename().string() + ".part");
    }
    static void discard(const std::filesystem::path& temp);
    bool commit(const std::filesystem::path& temp, const std::string& name, std::string* error);

    std::filesystem::path dir_;
};

}  // namespace restool
