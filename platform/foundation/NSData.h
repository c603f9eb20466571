#pragma once
// An immutable run of bytes held by reference count (file contents, image and level data).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CCObject.h"

class NSData : public CCObject {
public:
    // Autoreleased; nullptr when the file cannot be read.
    static NSData* dataWithContentsOfFile(const std::string& path);
    static NSData* dataWithBytes(const void* bytes, std::size_t length);
    static NSData* dataWithVector(std::vector<std::uint8_t> bytes);

    bool initWithContentsOfFile(const std::string& path);
    bool initWithBytes(const void* bytes, std::size_t length);
    bool initWithVector(std::vector<std::uint8_t> bytes);

    const std::uint8_t* bytes() const { return bytes_.data(); }
    std::size_t length() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& vector() const { return bytes_; }

    // Writes through a temporary file and a rename, so readers never see half a file.
    bool writeToFile(const std::string& path) const;

private:
    std::vector<std::uint8_t> bytes_;
};

// Reads a whole file; false when it cannot be opened or read, with why ("missing",
// "unreadable (reason)", "not a regular file") when asked.
bool ccReadFile(const std::string& path, std::vector<std::uint8_t>& out, std::string* why = nullptr);
// True when a regular file exists at the path.
bool ccFileExists(const std::string& path);
