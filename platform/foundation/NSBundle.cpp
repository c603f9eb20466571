#include "NSBundle.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "NSData.h"

namespace {

std::string defaultResourcePath() {
    if (const char* env = std::getenv("ZORVIK_RESOURCES"); env && *env) return env;
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "Resources";
    // Installed: <prefix>/bin/<program> with its resources in <prefix>/share/<program>.
    std::filesystem::path installed = exe.parent_path().parent_path() / "share" / exe.filename();
    if (exe.parent_path().filename() == "bin" && std::filesystem::is_directory(installed, error))
        return installed.string();
    for (std::filesystem::path dir = exe.parent_path(); !dir.empty(); dir = dir.parent_path()) {
        std::filesystem::path candidate = dir / "Resources";
        if (std::filesystem::is_directory(candidate, error)) return candidate.string();
        if (dir == dir.root_path()) break;
    }
    return (exe.parent_path() / "Resources").string();
}

} // namespace

NSBundle* NSBundle::mainBundle() {
    static NSBundle* bundle = [] {
        auto* b = new NSBundle;
        b->resourcePath_ = defaultResourcePath();
        return b;
    }();
    return bundle;
}

std::string NSBundle::resourcePath() const {
    std::lock_guard guard(lock_);
    return resourcePath_;
}

void NSBundle::setResourcePath(const std::string& path) {
    std::lock_guard guard(lock_);
    resourcePath_ = path;
}

std::string NSBundle::pathForResource(const std::string& name, const std::string& type,
                                      const std::string& directory) const {
    if (name.empty()) return {};
    std::string path = resourcePath();
    if (!directory.empty()) path += "/" + directory;
    path += "/" + name;
    if (!type.empty()) path += "." + type;
    return ccFileExists(path) ? path : std::string();
}
