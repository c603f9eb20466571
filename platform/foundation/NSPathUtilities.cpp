#include "NSPathUtilities.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

#include "CCLog.h"

namespace {

std::string baseDirectory(const char* variable, const char* fallbackBelowHome) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
    std::string home = ccHomeDirectory();
    return home.empty() ? std::string() : home + "/" + fallbackBelowHome;
}

std::string ensureDirectory(const std::string& path) {
    if (path.empty()) return path;
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error || !std::filesystem::is_directory(path, error)) {
        CCLog("Cannot create the directory %s: %s", path.c_str(), error.message().c_str());
        return {};
    }
    return path;
}

} // namespace

std::string ccHomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return {};
}

std::string ccConfigurationDirectory() {
    std::string base = baseDirectory("XDG_CONFIG_HOME", ".config");
    return base.empty() ? base : ensureDirectory(base + "/zorvik");
}

std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory,
                                                             NSSearchPathDomainMask domains, bool) {
    if (directory != NSDocumentDirectory || !(domains & NSUserDomainMask)) return {};
    std::string base = baseDirectory("XDG_DATA_HOME", ".local/share");
    std::string documents = base.empty() ? base : ensureDirectory(base + "/zorvik/Documents");
    if (documents.empty()) return {};
    return {documents};
}
